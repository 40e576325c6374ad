#!/usr/bin/python3
"""Opens a page in headless Chromium, moves the mouse over its first button and prints, as
JSON, screenshots of that button before and while hovered and of the second (disabled)
button, with the computed background positions. The :hover state is the browser's own,
not a forced one.

usage: hoverpage.py PAGE.html SCALE
"""
import json, sys
from devtools import Browser, until


def main():
    with Browser() as browser:
        browser.open(sys.argv[1], 400, 300, float(sys.argv[2]))
        until('the page', lambda: browser.evaluate(
            "[...document.images].every(i => i.complete) && document.querySelectorAll('button').length === 2"))
        # The sheet is a background: wait until the browser has decoded it.
        until('the sprite sheet', lambda: browser.evaluate(
            "(() => { const u = getComputedStyle(document.querySelector('button')).backgroundImage;"
            " const m = /url\\(\"(.*?)\"\\)/.exec(u); if (!m) return false;"
            " const i = new Image(); i.src = m[1]; return i.complete && i.naturalWidth > 0; })()"))
        rects = browser.evaluate("[...document.querySelectorAll('button')].map(b => {"
                                 " const r = b.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; })")

        def position(index):
            return browser.evaluate(
                "getComputedStyle(document.querySelectorAll('button')[%d]).backgroundPosition" % index)

        result = {'normal': browser.shot(*rects[0]), 'normalPosition': position(0)}
        x, y, w, h = rects[0]
        browser.mouse('mouseMoved', x + w / 2, y + h / 2)
        until('the hover', lambda: browser.evaluate("document.querySelector('button').matches(':hover')"))
        result.update(hot=browser.shot(*rects[0]), hotPosition=position(0), disabled=browser.shot(*rects[1]),
                      disabledPosition=position(1))
        print(json.dumps(result))


if __name__ == '__main__':
    main()
