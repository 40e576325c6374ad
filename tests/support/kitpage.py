#!/usr/bin/python3
"""Opens a page in headless Chromium at a device scale factor and prints, as JSON, a
screenshot of every element that has a data-shot attribute, clipped to it. The element
with id "real" is then driven for real over the DevTools protocol: the mouse over it
(:hover), the mouse button held on it (:active), and the Tab key until it has the focus
(:focus-visible). Console errors, exceptions and failed loads are listed under "errors".

usage: kitpage.py PAGE.html SCALE [--dark]
"""
import base64, json, os, shutil, socket, subprocess, sys, tempfile, time, urllib.parse, urllib.request
import websocket

CHROMIUM = shutil.which('chromium') or shutil.which('chromium-browser')
TIMEOUT = 120


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
    dark = '--dark' in sys.argv[3:]
    port = free_port()
    profile = tempfile.mkdtemp()
    flags = [CHROMIUM, '--headless=new', '--no-sandbox', '--disable-gpu', '--hide-scrollbars',
             '--remote-debugging-port=%d' % port, '--user-data-dir=' + profile, '--force-color-profile=srgb',
             '--allow-file-access-from-files']
    if dark:
        flags.append('--force-dark-mode')
    browser = subprocess.Popen(flags + ['about:blank'], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    errors = []
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

        def note(message):
            method, params = message.get('method'), message.get('params', {})
            if method == 'Runtime.consoleAPICalled' and params.get('type') == 'error':
                errors.append('console: ' + ' '.join(str(a.get('value')) for a in params.get('args', [])))
            elif method == 'Runtime.exceptionThrown':
                errors.append('exception: ' + params['exceptionDetails'].get('text', ''))
            elif method == 'Log.entryAdded' and params['entry'].get('level') == 'error':
                errors.append('log: %s %s' % (params['entry'].get('text'), params['entry'].get('url', '')))
            elif method == 'Network.loadingFailed':
                errors.append('load failed: ' + params.get('errorText', ''))

        def call(method, **params):
            n = next(ids)
            ws.send(json.dumps({'id': n, 'method': method, 'params': params}))
            while True:
                message = json.loads(ws.recv())
                if message.get('id') == n:
                    if 'error' in message:
                        raise SystemExit('%s: %s' % (method, message['error']))
                    return message.get('result', {})
                note(message)

        def evaluate(expression):
            return call('Runtime.evaluate', expression=expression, returnByValue=True, awaitPromise=True)[
                'result'].get('value')

        for domain in ('Runtime', 'Log', 'Network', 'Page'):
            call(domain + '.enable')
        call('Emulation.setDeviceMetricsOverride', width=1400, height=1000, deviceScaleFactor=scale, mobile=False)
        call('Page.navigate', url='file://' + urllib.parse.quote(page))
        until('the page', lambda: evaluate("document.readyState === 'complete'"))
        evaluate('document.fonts.ready.then(() => true)')
        rects = evaluate("[...document.querySelectorAll('[data-shot]')].map(e => { const r = e.getBoundingClientRect();"
                         " return [e.dataset.shot, r.x + scrollX, r.y + scrollY, r.width, r.height]; })")

        def shot(x, y, w, h):
            return call('Page.captureScreenshot', format='png', fromSurface=True, captureBeyondViewport=True,
                        clip={'x': x, 'y': y, 'width': w, 'height': h, 'scale': 1})['data']

        # Pieces decode after the load event at times: a first picture of everything settles it.
        shot(0, 0, 10, 10)
        time.sleep(0.3)
        result = {'shots': {}, 'errors': errors}
        for name, x, y, w, h in rects:
            result['shots'][name] = shot(x, y, w, h)
        real = evaluate("(() => { const r = document.getElementById('real');"
                        " if (!r) return null; r.scrollIntoView(); const b = r.getBoundingClientRect();"
                        " return [b.x, b.y, b.width, b.height]; })()")
        if real:
            x, y, w, h = real
            call('Input.dispatchMouseEvent', type='mouseMoved', x=x + w / 2, y=y + h / 2)
            until('the hover', lambda: evaluate("document.getElementById('real').matches(':hover')"))
            result['shots']['real-hover'] = shot(x, y, w, h)
            call('Input.dispatchMouseEvent', type='mousePressed', x=x + w / 2, y=y + h / 2, button='left',
                 clickCount=1)
            until('the press', lambda: evaluate("document.getElementById('real').matches(':active')"))
            result['shots']['real-active'] = shot(x, y, w, h)
            call('Input.dispatchMouseEvent', type='mouseReleased', x=x + w / 2, y=y + h / 2, button='left',
                 clickCount=1)
            call('Input.dispatchMouseEvent', type='mouseMoved', x=1, y=1)
            evaluate("document.activeElement && document.activeElement.blur(), true")
            for _ in range(2000):
                if evaluate("document.activeElement === document.getElementById('real')"):
                    break
                for kind in ('rawKeyDown', 'keyUp'):
                    call('Input.dispatchKeyEvent', type=kind, key='Tab', code='Tab', windowsVirtualKeyCode=9)
            until('the keyboard focus', lambda: evaluate("document.getElementById('real').matches(':focus-visible')"))
            result['shots']['real-focus'] = shot(x, y, w, h)
        # Late failures (a missing piece) are reported too.
        evaluate('new Promise(r => setTimeout(() => r(true), 200))')
        print(json.dumps(result))
        ws.close()
    finally:
        browser.kill()
        browser.wait()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == '__main__':
    main()
