"""Headless Firefox ESR driven over Marionette, its own remote protocol: length-prefixed JSON
on a loopback port. Its screenshots are device pixels at layout.css.devPixelsPerPx, which
Firefox's --screenshot flag is not. Nothing beyond the standard library."""
import base64, ctypes, json, os, shutil, signal, socket, subprocess, tempfile, time, urllib.parse

FIREFOX = shutil.which('firefox-esr') or shutil.which('firefox')
TIMEOUT = 120

# Quiet and offline: no first-run pages, updates, telemetry or lookups, and colour
# management off so that pixels come out as the files hold them.
QUIET = {
    'browser.shell.checkDefaultBrowser': False, 'browser.startup.page': 0,
    'browser.startup.homepage_override.mstone': 'ignore', 'startup.homepage_welcome_url': '',
    'browser.aboutwelcome.enabled': False, 'datareporting.policy.dataSubmissionEnabled': False,
    'datareporting.healthreport.uploadEnabled': False, 'toolkit.telemetry.enabled': False,
    'toolkit.telemetry.reportingpolicy.firstRun': False, 'app.update.disabledForTesting': True,
    'app.normandy.enabled': False, 'extensions.update.enabled': False, 'extensions.getAddons.cache.enabled': False,
    'browser.safebrowsing.malware.enabled': False, 'browser.safebrowsing.phishing.enabled': False,
    'browser.safebrowsing.downloads.enabled': False, 'network.captive-portal-service.enabled': False,
    'network.connectivity-service.enabled': False, 'network.dns.disablePrefetch': True,
    'network.prefetch-next': False, 'browser.newtabpage.enabled': False, 'browser.search.update': False,
    'media.gmp-manager.updateEnabled': False, 'remote.prefs.recommended': True,
    'gfx.color_management.mode': 0, 'ui.prefersReducedMotion': 1, 'layout.css.scrollbar-width-thin.disabled': True,
    'browser.tabs.warnOnClose': False, 'widget.non-native-theme.scrollbar.style': 1,
}


def _die_with_parent():
    # Linux: the browser gets SIGKILL when this driver ends, even by SIGKILL, where no
    # `with` block can clean up; its content processes end with it.
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


# A driver told to stop (a test's time-out) leaves through its `with` blocks.
signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(SystemExit('terminated')))


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


class Firefox:
    """One headless Firefox at one device pixel ratio; `with` ends it on every way out."""

    def __init__(self, ratio=1, dark=False, width=1200, height=900):
        self.profile = tempfile.mkdtemp(prefix='quillet-ff-')
        port = free_port()
        prefs = dict(QUIET)
        prefs.update({'marionette.port': port, 'layout.css.devPixelsPerPx': str(ratio),
                      # 0 dark, 1 light: the page's prefers-color-scheme, whatever the desktop says.
                      'layout.css.prefers-color-scheme.content-override': 0 if dark else 1})
        with open(os.path.join(self.profile, 'user.js'), 'w', encoding='utf-8') as f:
            for name, value in prefs.items():
                f.write('user_pref(%s, %s);\n' % (json.dumps(name), json.dumps(value)))
        env = dict(os.environ, MOZ_HEADLESS='1', MOZ_HEADLESS_WIDTH=str(width), MOZ_HEADLESS_HEIGHT=str(height),
                   MOZ_CRASHREPORTER_DISABLE='1', MOZ_DISABLE_AUTO_SAFE_MODE='1')
        self.process = subprocess.Popen(
            [FIREFOX, '--headless', '--marionette', '--no-remote', '--profile', self.profile, 'about:blank'],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env, start_new_session=True,
            preexec_fn=_die_with_parent)
        self.ids = iter(range(1, 1 << 30))
        self.sock = None
        try:
            self.sock = self._connect(port)
            self._read()  # the greeting
            self.call('WebDriver:NewSession', capabilities={'alwaysMatch': {'acceptInsecureCerts': False}})
            self.call('WebDriver:SetWindowRect', width=width, height=height)
        except BaseException:
            self.close()
            raise

    def _connect(self, port):
        end = time.monotonic() + TIMEOUT
        while True:
            if self.process.poll() is not None:
                raise SystemExit('firefox ended before it listened')
            try:
                return socket.create_connection(('127.0.0.1', port), timeout=TIMEOUT)
            except OSError:
                if time.monotonic() > end:
                    raise SystemExit('timed out waiting for firefox')
                time.sleep(0.1)

    def _read(self):
        length = b''
        while not length.endswith(b':'):
            c = self.sock.recv(1)
            if not c:
                raise SystemExit('firefox closed the connection')
            length += c
        size = int(length[:-1])
        data = b''
        while len(data) < size:
            chunk = self.sock.recv(size - len(data))
            if not chunk:
                raise SystemExit('firefox closed the connection')
            data += chunk
        return json.loads(data)

    def call(self, command, **params):
        n = next(self.ids)
        body = json.dumps([0, n, command, params]).encode()
        self.sock.sendall(b'%d:' % len(body) + body)
        while True:
            message = self._read()
            if message[0] == 1 and message[1] == n:
                if message[2]:
                    raise SystemExit('%s: %s' % (command, message[2].get('message', message[2])))
                return message[3]

    def evaluate(self, script, *args):
        """The value of a function body run in the page; a returned promise is awaited."""
        return self.call('WebDriver:ExecuteAsyncScript', script='const done = arguments[arguments.length - 1];'
                         ' Promise.resolve((() => {' + script + '})()).then(done, e => done("error: " + e));',
                         args=list(args))['value']

    def open(self, page):
        self.call('WebDriver:Navigate', url='file://' + urllib.parse.quote(os.path.abspath(page)))
        self.evaluate('return document.fonts.ready.then(() => Promise.all([...document.images].map('
                      'i => i.decode().catch(() => 0)))).then(() => new Promise(r => requestAnimationFrame('
                      '() => requestAnimationFrame(() => r(true)))))')

    def shot(self):
        """The viewport as a PNG in base64, in device pixels."""
        return self.call('WebDriver:TakeScreenshot', full=False, hash=False, scroll=False)['value']

    def close(self):
        try:
            if self.sock:
                self.sock.close()
        finally:
            if self.process.poll() is None:
                # Its content processes share its session.
                try:
                    os.killpg(self.process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
            self.process.wait()
            shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()


def decoded(shot):
    return base64.b64decode(shot)
