#!/usr/bin/python3
"""Opens pages in one headless Chromium and prints, as JSON, one screenshot of each page
with the box of every element that has a data-shot attribute, in CSS pixels.

The job file is a JSON array of {"page": PATH, "scale": N, "dark": BOOL}. One browser
serves every job: starting it is most of the cost. Where a page has elements with the ids
"hover", "active" and "focus", each is driven for real over the DevTools protocol (the
mouse over "hover", the left button held on "active", the Tab key until "focus" has the
keyboard focus) and the page is shot again in that state: "hoverShot", "activeShot",
"focusShot". Console errors, exceptions and failed loads are listed under "errors".

usage: kitpage.py JOBS.json
"""
import json, os, shutil, socket, subprocess, sys, tempfile, time, urllib.parse, urllib.request
import websocket

CHROMIUM = shutil.which('chromium') or shutil.which('chromium-browser')
TIMEOUT = 120
# Colour management off (pixels as the files hold them) and no smoothing of fonts that
# would not matter here; the window is large enough for every test page at scale 1.
FLAGS = ['--headless=new', '--no-sandbox', '--disable-gpu', '--hide-scrollbars', '--force-color-profile=srgb',
         '--allow-file-access-from-files', '--disable-features=Translate']


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


class Browser:
    def __init__(self, dark):
        self.port = free_port()
        self.profile = tempfile.mkdtemp()
        flags = [CHROMIUM] + FLAGS + ['--remote-debugging-port=%d' % self.port, '--user-data-dir=' + self.profile]
        if dark:
            flags.append('--force-dark-mode')
        self.process = subprocess.Popen(flags + ['about:blank'], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.errors = []
        self.ids = iter(range(1, 1 << 30))

        def targets():
            try:
                with urllib.request.urlopen('http://127.0.0.1:%d/json/list' % self.port, timeout=2) as r:
                    return [t for t in json.load(r) if t.get('type') == 'page']
            except OSError:
                return None
        target = until('the browser', targets)[0]
        self.ws = websocket.create_connection(target['webSocketDebuggerUrl'], timeout=TIMEOUT)
        for domain in ('Runtime', 'Log', 'Network', 'Page'):
            self.call(domain + '.enable')

    def close(self):
        try:
            self.ws.close()
        finally:
            self.process.kill()
            self.process.wait()
            shutil.rmtree(self.profile, ignore_errors=True)

    def note(self, message):
        method, params = message.get('method'), message.get('params', {})
        if method == 'Runtime.consoleAPICalled' and params.get('type') == 'error':
            self.errors.append('console: ' + ' '.join(str(a.get('value')) for a in params.get('args', [])))
        elif method == 'Runtime.exceptionThrown':
            self.errors.append('exception: ' + params['exceptionDetails'].get('text', ''))
        elif method == 'Log.entryAdded' and params['entry'].get('level') == 'error':
            self.errors.append('log: %s %s' % (params['entry'].get('text'), params['entry'].get('url', '')))
        elif method == 'Network.loadingFailed':
            self.errors.append('load failed: ' + params.get('errorText', ''))

    def call(self, method, **params):
        n = next(self.ids)
        self.ws.send(json.dumps({'id': n, 'method': method, 'params': params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get('id') == n:
                if 'error' in message:
                    raise SystemExit('%s: %s' % (method, message['error']))
                return message.get('result', {})
            self.note(message)

    def evaluate(self, expression):
        return self.call('Runtime.evaluate', expression=expression, returnByValue=True, awaitPromise=True)[
            'result'].get('value')

    def shot(self, width, height):
        return self.call('Page.captureScreenshot', format='png', fromSurface=True, captureBeyondViewport=False,
                         clip={'x': 0, 'y': 0, 'width': width, 'height': height, 'scale': 1})['data']

    def centre(self, element):
        x, y, w, h = self.evaluate("(() => { const b = document.getElementById('%s').getBoundingClientRect();"
                                   " return [b.x, b.y, b.width, b.height]; })()" % element)
        return x + w / 2, y + h / 2

    def run(self, job):
        self.errors.clear()
        self.call('Emulation.setDeviceMetricsOverride', width=1200, height=900, deviceScaleFactor=job['scale'],
                  mobile=False)
        self.call('Page.navigate', url='file://' + urllib.parse.quote(os.path.abspath(job['page'])))
        until('the page', lambda: self.evaluate("document.readyState === 'complete'"))
        self.evaluate('document.fonts.ready.then(() => true)')
        # Every picture decoded before the shot, not only loaded.
        self.evaluate("Promise.all([...document.images].map(i => i.decode().catch(() => 0))).then(() => true)")
        self.evaluate('new Promise(r => requestAnimationFrame(() => requestAnimationFrame(() => r(true))))')
        size = self.evaluate('[document.documentElement.scrollWidth, document.documentElement.scrollHeight]')
        width, height = min(size[0], 1200), min(size[1], 900)
        result = {'rects': self.evaluate(
            "Object.fromEntries([...document.querySelectorAll('[data-shot]')].map(e => {"
            " const r = e.getBoundingClientRect(); return [e.dataset.shot, [r.x, r.y, r.width, r.height]]; }))"),
            'shot': self.shot(width, height)}
        if self.evaluate("!!document.getElementById('hover')"):
            x, y = self.centre('hover')
            self.call('Input.dispatchMouseEvent', type='mouseMoved', x=x, y=y)
            until('the hover', lambda: self.evaluate("document.getElementById('hover').matches(':hover')"))
            result['hoverShot'] = self.shot(width, height)
        if self.evaluate("!!document.getElementById('active')"):
            x, y = self.centre('active')
            self.call('Input.dispatchMouseEvent', type='mouseMoved', x=x, y=y)
            self.call('Input.dispatchMouseEvent', type='mousePressed', x=x, y=y, button='left', clickCount=1)
            until('the press', lambda: self.evaluate("document.getElementById('active').matches(':active')"))
            result['activeShot'] = self.shot(width, height)
            self.call('Input.dispatchMouseEvent', type='mouseReleased', x=x, y=y, button='left', clickCount=1)
        self.call('Input.dispatchMouseEvent', type='mouseMoved', x=width - 1, y=height - 1)
        if self.evaluate("!!document.getElementById('focus')"):
            self.evaluate("document.activeElement && document.activeElement.blur(), true")
            for _ in range(50):
                if self.evaluate("document.activeElement === document.getElementById('focus')"):
                    break
                for kind in ('rawKeyDown', 'keyUp'):
                    self.call('Input.dispatchKeyEvent', type=kind, key='Tab', code='Tab', windowsVirtualKeyCode=9)
            until('the keyboard focus',
                  lambda: self.evaluate("document.getElementById('focus').matches(':focus-visible')"))
            result['focusShot'] = self.shot(width, height)
        # Late failures (a piece that is missing) are reported too.
        self.evaluate('new Promise(r => setTimeout(() => r(true), 100))')
        result['errors'] = list(self.errors)
        return result


def main():
    with open(sys.argv[1], encoding='utf-8') as f:
        jobs = json.load(f)
    results = [None] * len(jobs)
    # --force-dark-mode is a browser flag: one browser per colour scheme.
    for dark in (False, True):
        chosen = [i for i, job in enumerate(jobs) if bool(job.get('dark')) == dark]
        if not chosen:
            continue
        browser = Browser(dark)
        try:
            for i in chosen:
                results[i] = browser.run(jobs[i])
        finally:
            browser.close()
    json.dump(results, sys.stdout)


if __name__ == '__main__':
    main()
