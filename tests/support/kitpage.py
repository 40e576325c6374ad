#!/usr/bin/python3
"""Opens pages in headless Chromium and prints, as a JSON object by job name, one screenshot
of each page ("shot") with the box of every element that has a data-shot attribute, in CSS
pixels, and the console errors, exceptions and failed loads ("errors").

The job file is a JSON object of NAME: {"page": PATH, "scale": N, "dark": BOOL}. Starting
the browser is most of the cost: one serves every job of a colour scheme. Where a page has
elements with the ids "hover", "active" and "focus", each is driven for real (the mouse
over "hover", the left button held on "active", the Tab key until "focus" has the keyboard
focus) and the page is shot again: "hoverShot", "activeShot", "focusShot".

usage: kitpage.py JOBS.json
"""
from devtools import Browser, run_jobs, until


def run(browser, job):
    browser.open(job['page'], 1200, 900, job['scale'])
    # Every font and picture decoded before the shot, not only loaded.
    browser.evaluate('document.fonts.ready.then(() => true)')
    browser.evaluate("Promise.all([...document.images].map(i => i.decode().catch(() => 0))).then(() => true)")
    browser.evaluate('new Promise(r => requestAnimationFrame(() => requestAnimationFrame(() => r(true))))')
    size = browser.evaluate('[document.documentElement.scrollWidth, document.documentElement.scrollHeight]')
    width, height = min(size[0], 1200), min(size[1], 900)
    result = {'rects': browser.evaluate(
        "Object.fromEntries([...document.querySelectorAll('[data-shot]')].map(e => {"
        " const r = e.getBoundingClientRect(); return [e.dataset.shot, [r.x, r.y, r.width, r.height]]; }))"),
        'shot': browser.shot(0, 0, width, height)}
    matches = "(() => { const e = document.getElementById('%s'); return !!e && e.matches(':%s'); })()"
    for element, presses in (('hover', ()), ('active', ('mousePressed',))):
        if browser.evaluate("!!document.getElementById('%s')" % element):
            x, y = browser.evaluate("(() => { const b = document.getElementById('%s').getBoundingClientRect();"
                                    " return [b.x + b.width / 2, b.y + b.height / 2]; })()" % element)
            for kind in ('mouseMoved',) + presses:
                browser.mouse(kind, x, y)
            until('the ' + element, lambda: browser.evaluate(matches % (element, element)))
            result[element + 'Shot'] = browser.shot(0, 0, width, height)
            for kind in presses:
                browser.mouse('mouseReleased', x, y)
    browser.mouse('mouseMoved', width - 1, height - 1)
    if browser.evaluate("!!document.getElementById('focus')"):
        browser.evaluate("document.activeElement && document.activeElement.blur(), true")
        for _ in range(50):
            if browser.evaluate("document.activeElement === document.getElementById('focus')"):
                break
            for kind in ('rawKeyDown', 'keyUp'):
                browser.call('Input.dispatchKeyEvent', type=kind, key='Tab', code='Tab', windowsVirtualKeyCode=9)
        until('the keyboard focus', lambda: browser.evaluate(matches % ('focus', 'focus-visible')))
        result['focusShot'] = browser.shot(0, 0, width, height)
    # Late failures (a piece that is missing) are reported too.
    browser.evaluate('new Promise(r => setTimeout(() => r(true), 100))')
    result['errors'] = list(browser.errors)
    return result


def main():
    run_jobs(run)


if __name__ == '__main__':
    main()
