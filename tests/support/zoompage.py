#!/usr/bin/python3
"""Opens pages at device pixel ratios in headless Chromium (DevTools) and Firefox ESR
(Marionette) and prints, as a JSON object by job name, a screenshot of the whole page in
device pixels over each page colour asked ("shots", by colour) and the box of every element
with a data-shot attribute, in CSS pixels ("rects").

The job file is a JSON object of NAME: {"browser": "chromium" | "firefox", "page": PATH,
"ratio": R, "colours": [CSS colour, ...]}. Starting a browser is most of the cost: one
Chromium serves every job, one Firefox every job of one ratio (its ratio is a preference
read at start).

usage: zoompage.py JOBS.json
"""
import json, sys

RECTS = ("return Object.fromEntries([...document.querySelectorAll('[data-shot]')].map(e => {"
         " const r = e.getBoundingClientRect(); return [e.dataset.shot, [r.x, r.y, r.width, r.height]]; }))")
SIZE = 'return [document.documentElement.scrollWidth, document.documentElement.scrollHeight]'
# The page colour is the body's; a frame later the page is painted anew.
RECOLOUR = ("document.documentElement.style.background = document.body.style.background = %s;"
            " return new Promise(r => requestAnimationFrame(() => requestAnimationFrame(() => r(true))))")
# Backgrounds are decoded when first painted: a few frames after load, all of them are.
SETTLE = ("return document.fonts.ready.then(() => new Promise(r => { let n = 0;"
          " const f = () => ++n < 6 ? requestAnimationFrame(f) : r(true); requestAnimationFrame(f); }))")


def chromium_jobs(jobs):
    from devtools import Browser
    results = {}
    with Browser() as browser:
        evaluate = lambda script: browser.evaluate('(() => {' + script + '})()')
        for name, job in jobs:
            browser.open(job['page'], 1200, 900, job['ratio'])
            evaluate(SETTLE)
            width, height = evaluate(SIZE)
            # The viewport holds the whole page, so that the shot is one paint of it.
            browser.call('Emulation.setDeviceMetricsOverride', width=width, height=height,
                         deviceScaleFactor=job['ratio'], mobile=False)
            evaluate(SETTLE)
            result = {'rects': evaluate(RECTS), 'shots': {}, 'errors': []}
            for colour in job['colours']:
                evaluate(RECOLOUR % json.dumps(colour))
                result['shots'][colour] = browser.shot(0, 0, width, height)
            result['errors'] = list(browser.errors)
            results[name] = result
    return results


def firefox_jobs(jobs):
    from marionette import Firefox
    results = {}
    for ratio in sorted({job['ratio'] for _, job in jobs}):
        with Firefox(ratio=ratio) as browser:
            for name, job in jobs:
                if job['ratio'] != ratio:
                    continue
                browser.open(job['page'])
                browser.evaluate(SETTLE)
                result = {'rects': browser.evaluate(RECTS), 'shots': {}, 'errors': [],
                          'ratio': browser.evaluate('return window.devicePixelRatio')}
                if result['ratio'] != ratio:
                    result['errors'].append('devicePixelRatio %s, not %s' % (result['ratio'], ratio))
                broken = browser.evaluate("return [...document.images].filter(i => !i.naturalWidth).map(i => i.src)")
                result['errors'] += ['load failed: ' + src for src in broken]
                for colour in job['colours']:
                    browser.evaluate(RECOLOUR % json.dumps(colour))
                    result['shots'][colour] = browser.call('WebDriver:TakeScreenshot', full=True, hash=False,
                                                           scroll=False)['value']
                results[name] = result
    return results


def main():
    with open(sys.argv[1], encoding='utf-8') as f:
        jobs = json.load(f)
    results = {}
    for browser, run in (('chromium', chromium_jobs), ('firefox', firefox_jobs)):
        chosen = [(name, job) for name, job in jobs.items() if job['browser'] == browser]
        if chosen:
            results.update(run(chosen))
    json.dump(results, sys.stdout)


if __name__ == '__main__':
    main()
