#!/usr/bin/python3
"""Opens a page in headless Chromium, moves the mouse over its first button and prints, as
JSON, screenshots of that button before and while hovered and of the second (disabled)
button, with the computed background positions. Drives Chromium over its DevTools
protocol, so the :hover state is the browser's own, not a forced one.

usage: hoverpage.py PAGE.html SCALE
"""
import json, os, shutil, socket, subprocess, sys, tempfile, time, urllib.parse, urllib.request
import websocket

CHROMIUM = shutil.which('chromium') or shutil.which('chromium-browser')
TIMEOUT = 60


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def until(what, check):
    end = time.monotonic() + TIMEOUT
    while time.monotonic() < end:
        value = check()
        if value:
            return value
        time.sleep(0.05)
    raise SystemExit('timed out waiting for ' + what)


def main():
    page, scale = os.path.abspath(sys.argv[1]), float(sys.argv[2])
    port = free_port()
    profile = tempfile.mkdtemp()
    browser = subprocess.Popen([CHROMIUM, '--headless=new', '--no-sandbox', '--disable-gpu', '--hide-scrollbars',
                                '--remote-debugging-port=%d' % port, '--user-data-dir=' + profile,
                                '--force-color-profile=srgb', 'about:blank'],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        def targets():
            try:
                with urllib.request.urlopen('http://127.0.0.1:%d/json/list' % port, timeout=2) as r:
                    return [t for t in json.load(r) if t.get('type') == 'page']
            except OSError:
                return None
        target = until('the browser', targets)[0]
        ws = websocket.create_connection(target['webSocketDebuggerUrl'], timeout=TIMEOUT)
        ids = iter(range(1, 1 << 30))

        def call(method, **params):
            n = next(ids)
            ws.send(json.dumps({'id': n, 'method': method, 'params': params}))
            while True:
                message = json.loads(ws.recv())
                if message.get('id') == n:
                    if 'error' in message:
                        raise SystemExit('%s: %s' % (method, message['error']))
                    return message.get('result', {})

        def evaluate(expression):
            return call('Runtime.evaluate', expression=expression, returnByValue=True)['result'].get('value')

        call('Emulation.setDeviceMetricsOverride', width=400, height=300, deviceScaleFactor=scale, mobile=False)
        call('Page.navigate', url='file://' + urllib.parse.quote(page))
        until('the page', lambda: evaluate(
            "document.readyState === 'complete' && [...document.images].every(i => i.complete)"
            " && document.querySelectorAll('button').length === 2"))
        # The sheet is a background: wait until the browser has decoded it.
        until('the sprite sheet', lambda: evaluate(
            "(() => { const u = getComputedStyle(document.querySelector('button')).backgroundImage;"
            " const m = /url\\(\"(.*?)\"\\)/.exec(u); if (!m) return false;"
            " const i = new Image(); i.src = m[1]; return i.complete && i.naturalWidth > 0; })()"))
        rects = evaluate("[...document.querySelectorAll('button')].map(b => { const r = b.getBoundingClientRect();"
                         " return [r.x, r.y, r.width, r.height]; })")

        def shot(rect):
            x, y, w, h = rect
            data = call('Page.captureScreenshot', format='png', fromSurface=True,
                        clip={'x': x, 'y': y, 'width': w, 'height': h, 'scale': 1})['data']
            return data

        def position(index):
            return evaluate("getComputedStyle(document.querySelectorAll('button')[%d]).backgroundPosition" % index)

        result = {'normal': shot(rects[0]), 'normalPosition': position(0)}
        x, y, w, h = rects[0]
        call('Input.dispatchMouseEvent', type='mouseMoved', x=x + w / 2, y=y + h / 2)
        until('the hover', lambda: evaluate("document.querySelector('button').matches(':hover')"))
        result['hot'] = shot(rects[0])
        result['hotPosition'] = position(0)
        result['disabled'] = shot(rects[1])
        result['disabledPosition'] = position(1)
        print(json.dumps(result))
        ws.close()
    finally:
        browser.kill()
        browser.wait()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == '__main__':
    main()
