#!/usr/bin/python3
"""Opens pages in headless Chromium at scale 1 and prints, as a JSON object by job name, one
screenshot of each ("shot"), and for every element with a data-shot attribute its box
("rects") and the box of its text ("texts"), in CSS pixels, with the console errors
("errors").

The job file is a JSON object of NAME: {"page": PATH, "dark": BOOL}.

usage: captionboxes.py JOBS.json
"""
from devtools import Browser, run_jobs

BOXES = ("Object.fromEntries([...document.querySelectorAll('[data-shot]')].map(e => {"
         " const box = r => [r.left, r.top, r.right, r.bottom];"
         " const range = document.createRange(); range.selectNodeContents(e);"
         " return [e.dataset.shot, {rect: box(e.getBoundingClientRect()), text: box(range.getBoundingClientRect())}];"
         " }))")


def run(browser, job):
    browser.open(job['page'], 800, 400, 1)
    browser.evaluate('document.fonts.ready.then(() => true)')
    browser.evaluate('new Promise(r => requestAnimationFrame(() => requestAnimationFrame(() => r(true))))')
    browser.mouse('mouseMoved', 799, 399)
    boxes = browser.evaluate(BOXES)
    result = {'rects': {k: v['rect'] for k, v in boxes.items()}, 'texts': {k: v['text'] for k, v in boxes.items()},
              'shot': browser.shot(0, 0, 800, 400)}
    browser.evaluate('new Promise(r => setTimeout(() => r(true), 100))')
    result['errors'] = list(browser.errors)
    return result


def main():
    run_jobs(run)


if __name__ == '__main__':
    main()
