"""Headless Chromium driven over its DevTools protocol, for the page tests in a real browser.
Console errors, exceptions and failed loads seen on the way are kept in Browser.errors."""
import json, os, shutil, socket, subprocess, sys, tempfile, time, urllib.parse, urllib.request
import websocket

CHROMIUM = shutil.which('chromium') or shutil.which('chromium-browser')
TIMEOUT = 120
# Colour management off: pixels as the files hold them.
FLAGS = ['--headless=new', '--no-sandbox', '--disable-gpu', '--hide-scrollbars', '--force-color-profile=srgb',
         '--allow-file-access-from-files', '--disable-features=Translate']
NOTES = {'Runtime.consoleAPICalled': lambda p: p.get('type') == 'error' and 'console: ' + ' '.join(
             str(a.get('value')) for a in p.get('args', [])),
         'Runtime.exceptionThrown': lambda p: 'exception: ' + p['exceptionDetails'].get('text', ''),
         'Log.entryAdded': lambda p: p['entry'].get('level') == 'error' and 'log: %s %s' % (
             p['entry'].get('text'), p['entry'].get('url', '')),
         'Network.loadingFailed': lambda p: 'load failed: ' + p.get('errorText', '')}


def until(what, check):
    end = time.monotonic() + TIMEOUT
    while time.monotonic() < end:
        value = check()
        if value:
            return value
        time.sleep(0.05)
    raise SystemExit('timed out waiting for ' + what)


class Browser:
    def __init__(self, dark=False, flags=()):
        with socket.socket() as s:
            s.bind(('127.0.0.1', 0))
            port = s.getsockname()[1]
        self.profile = tempfile.mkdtemp()
        self.process = subprocess.Popen(
            [CHROMIUM] + FLAGS + ['--remote-debugging-port=%d' % port, '--user-data-dir=' + self.profile]
            + ['--force-dark-mode'] * dark + list(flags) + ['about:blank'], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.errors = []
        self.ids = iter(range(1, 1 << 30))

        def targets():
            try:
                with urllib.request.urlopen('http://127.0.0.1:%d/json/list' % port, timeout=2) as r:
                    return [t for t in json.load(r) if t.get('type') == 'page']
            except OSError:
                return None
        self.ws = websocket.create_connection(until('the browser', targets)[0]['webSocketDebuggerUrl'],
                                              timeout=TIMEOUT)
        for domain in ('Runtime', 'Log', 'Network', 'Page'):
            self.call(domain + '.enable')

    def __enter__(self):
        return self

    def __exit__(self, *_):
        try:
            self.ws.close()
        finally:
            self.process.kill()
            self.process.wait()
            shutil.rmtree(self.profile, ignore_errors=True)

    def call(self, method, **params):
        n = next(self.ids)
        self.ws.send(json.dumps({'id': n, 'method': method, 'params': params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get('id') == n:
                if 'error' in message:
                    raise SystemExit('%s: %s' % (method, message['error']))
                return message.get('result', {})
            note = NOTES.get(message.get('method'), lambda p: None)(message.get('params', {}))
            if note:
                self.errors.append(note)

    def evaluate(self, expression):
        return self.call('Runtime.evaluate', expression=expression, returnByValue=True, awaitPromise=True)[
            'result'].get('value')

    def open(self, page, width, height, scale):
        self.errors.clear()
        self.call('Emulation.setDeviceMetricsOverride', width=width, height=height, deviceScaleFactor=scale,
                  mobile=False)
        self.call('Page.navigate', url='file://' + urllib.parse.quote(os.path.abspath(page)))
        until('the page', lambda: self.evaluate("document.readyState === 'complete'"))

    def shot(self, x, y, width, height):
        return self.call('Page.captureScreenshot', format='png', fromSurface=True, captureBeyondViewport=False,
                         clip={'x': x, 'y': y, 'width': width, 'height': height, 'scale': 1})['data']

    def mouse(self, kind, x, y):
        press = {} if kind == 'mouseMoved' else {'button': 'left', 'clickCount': 1}
        self.call('Input.dispatchMouseEvent', type=kind, x=x, y=y, **press)


def run_jobs(run, flag='dark', browser_of=lambda on: Browser(dark=on)):
    """Runs every job of the JSON job file named on the command line and prints the results
    by job name. A job's `flag` is a browser flag, not a page setting: one browser for the jobs
    without it, one for those with it."""
    with open(sys.argv[1], encoding='utf-8') as f:
        jobs = json.load(f)
    results = {}
    for on in (False, True):
        chosen = [name for name, job in jobs.items() if bool(job.get(flag)) == on]
        if chosen:
            with browser_of(on) as browser:
                for name in chosen:
                    results[name] = run(browser, jobs[name])
    json.dump(results, sys.stdout)
