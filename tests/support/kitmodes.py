#!/usr/bin/python3
"""Opens pages in headless Chromium, with forced colours (--force-high-contrast) or without,
and prints, as a JSON object by job name: whether (forced-colors: active) matches ("forced"),
one screenshot ("shot"), the box and the computed colours, pictures and outline of every
element with a data-shot attribute ("rects", "styles"), the boxes of the icon and the
caption text of every element with a data-icon attribute ("icons"), and the console errors
("errors"). Where the page has an
element with the id "focus", the Tab key takes the keyboard focus there and the page is
shot again ("focusShot", "focusStyle").

The job file is a JSON object of NAME: {"page": PATH, "forced": BOOL}.

usage: kitmodes.py JOBS.json
"""
from devtools import Browser, run_jobs, until

STYLE = ("(e => { const s = getComputedStyle(e); return {backgroundImage: s.backgroundImage,"
         " borderImageSource: s.borderImageSource, color: s.color, backgroundColor: s.backgroundColor,"
         " outlineStyle: s.outlineStyle, outlineWidth: s.outlineWidth, outlineColor: s.outlineColor,"
         " outlineOffset: s.outlineOffset, appearance: s.appearance}; })")


def run(browser, job):
    browser.open(job['page'], 900, 700, 1)
    browser.evaluate('document.fonts.ready.then(() => true)')
    browser.evaluate("Promise.all([...document.images].map(i => i.decode().catch(() => 0))).then(() => true)")
    browser.evaluate('new Promise(r => requestAnimationFrame(() => requestAnimationFrame(() => r(true))))')
    result = {
        'forced': browser.evaluate("matchMedia('(forced-colors: active)').matches"),
        'rects': browser.evaluate(
            "Object.fromEntries([...document.querySelectorAll('[data-shot]')].map(e => {"
            " const r = e.getBoundingClientRect(); return [e.dataset.shot, [r.x, r.y, r.width, r.height]]; }))"),
        'styles': browser.evaluate(
            "Object.fromEntries([...document.querySelectorAll('[data-shot]')].map(e => [e.dataset.shot, %s(e)]))"
            % STYLE),
        'icons': browser.evaluate(
            "Object.fromEntries([...document.querySelectorAll('[data-icon]')].map(e => {"
            " const box = r => [r.left, r.top, r.right, r.bottom];"
            " const text = [...e.childNodes].find(n => n.nodeType === 3 && n.textContent.trim());"
            " const range = document.createRange(); range.selectNodeContents(text);"
            " return [e.dataset.icon, {button: box(e.getBoundingClientRect()),"
            " icon: box(e.querySelector('svg').getBoundingClientRect()), text: box(range.getBoundingClientRect())}];"
            " }))"),
        'shot': browser.shot(0, 0, 900, 700)}
    browser.mouse('mouseMoved', 899, 699)
    if browser.evaluate("!!document.getElementById('focus')"):
        browser.evaluate("document.activeElement && document.activeElement.blur(), true")
        for _ in range(50):
            if browser.evaluate("document.activeElement === document.getElementById('focus')"):
                break
            for kind in ('rawKeyDown', 'keyUp'):
                browser.call('Input.dispatchKeyEvent', type=kind, key='Tab', code='Tab', windowsVirtualKeyCode=9)
        until('the keyboard focus', lambda: browser.evaluate(
            "document.getElementById('focus').matches(':focus-visible')"))
        browser.evaluate('new Promise(r => requestAnimationFrame(() => requestAnimationFrame(() => r(true))))')
        result['focusShot'] = browser.shot(0, 0, 900, 700)
        result['focusStyle'] = browser.evaluate('%s(document.getElementById("focus"))' % STYLE)
    browser.evaluate('new Promise(r => setTimeout(() => r(true), 100))')
    result['errors'] = list(browser.errors)
    return result


def main():
    run_jobs(run, 'forced', lambda on: Browser(flags=['--force-high-contrast'] * on))


if __name__ == '__main__':
    main()
