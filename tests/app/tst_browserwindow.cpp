// Under a real X server with a window manager: the designer keeps one native window from
// its first show to its close, also while the browser panel brings in the web engine and
// goes back to the light one. Everything about windows is read from the X server.
#include "app/designerprogram.h"
#include "catalogue/programpaths.h"
#include "integration/infopanel.h"
#include "integration/onlinecheck.h"
#include "platform/browser/browserbackend.h"
#include "platform/browser/browserpanel.h"
#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"
#include "ui/designerwindow.h"

#include "support/designerrun.h"
#include "support/pageserver.h"
#include "support/programfolder.h"
#include "support/xclients.h"

#include <QtTest>

using quillet::browser::BrowserPanel;

namespace {



#if QUILLET_HAVE_WEBENGINE
constexpr QRgb kServedBackground = 0xff00c000;

// The colour the X server shows at the middle of the panel.
QRgb panelMiddleOnScreen(quint64 windowId, BrowserPanel *panel)
{
    const QString info = xclients::run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(windowId)});
    const auto field = [&info](const char *name) {
        const QRegularExpression pattern(QString::fromLatin1(name) + QStringLiteral(":\\s+(-?\\d+)"));
        return pattern.match(info).captured(1).toInt();
    };
    const QPoint origin(field("Absolute upper-left X"), field("Absolute upper-left Y"));
    const QPoint middle = origin + panel->mapTo(panel->window(), panel->rect().center());
    // The root window's pixels as the X server holds them, frame and embedded windows included.
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    return screen.isNull() ? 0 : screen.pixel(middle);
}
#endif

} // namespace

class TestBrowserWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        qunsetenv("QUILLET_BROWSER");
        QVERIFY2(!xclients::run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                      .contains(QStringLiteral("not found")),
                 "run under a window manager (tests/xvfb/with-openbox.sh)");
    }

    // Past the first preview and the page thread's navigation, and through the close.
    void oneNativeWindowFromShowToClose()
    {
        xclients::ClientListWatch watch;
        ProgramFolder folder({QStringLiteral("经典.an")});
        DesignerRun run(folder);
        run.program.start();
        auto &window = run.program.window();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const quint64 id = window.winId();
        QTRY_VERIFY_WITH_TIMEOUT(xclients::managedWindowsOfThisProcess() == QList<quint64>{id}, 5000);
        QTRY_COMPARE(run.window().browserPanel()->requestedAddress(), quillet::catalogue::ProgramPaths::localPage(folder.path()));
        QTest::qWait(2000);
        QCOMPARE(run.window().browserPanel()->backend()->title(), QStringLiteral("Quillet 帮助"));
        QVERIFY(!run.window().browserPanel()->showsWebEngine());
        QCOMPARE(xclients::managedWindowsOfThisProcess(), QList<quint64>{id});
        QVERIFY(xclients::isViewable(id));
        window.close();
        QTRY_VERIFY(xclients::managedWindowsOfThisProcess().isEmpty());
        QCOMPARE(watch.seen(), QSet<quint64>{id});
    }

#if QUILLET_HAVE_WEBENGINE
    void webEngineComesInAndGoesInTheSameWindow()
    {
        xclients::ClientListWatch watch;
        const QByteArray page = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>served page</title></head>"
                                "<body style=\"background:#00c000\"><h1>news</h1></body></html>";
        PageServer server(page);
        QVERIFY(server.isListening());
        ProgramFolder folder({QStringLiteral("经典.an")});
        DesignerRun run(folder);
        QSignalSpy loaded(run.window().browserPanel(), &BrowserPanel::pageLoaded);
        run.program.start();
        auto &window = run.program.window();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const quint64 id = window.winId();
        QTRY_VERIFY(!loaded.isEmpty());
        QVERIFY(!run.window().browserPanel()->showsWebEngine());

        // The information tick that finds the machine online.
        run.network.established = 1;
        run.network.resolvable = {QString::fromLatin1(quillet::integration::OnlineCheck::FirstProbeHost)};
        for (int tick = 0; tick < 10; ++tick)
            run.program.infoPanel().onTick();
        QCOMPARE(run.window().browserPanel()->requestedAddress(), quillet::integration::OnlineCheck::informationPage());
        QVERIFY2(run.window().browserPanel()->showsWebEngine(), "the web-engine module did not load");
        QVERIFY(!run.program.window().infoTimer()->isRunning());

        loaded.clear();
        run.window().browserPanel()->navigate(server.address(QStringLiteral("/POParticle/16/78.Html")));
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty() && loaded.last().first().toBool(), 60000);
        QTRY_COMPARE_WITH_TIMEOUT(run.window().browserPanel()->backend()->title(), QStringLiteral("served page"), 10000);
        QVERIFY(server.requests > 0);
        // Shown inside the panel of the designer window, not in a window of its own.
        QTRY_COMPARE_WITH_TIMEOUT(panelMiddleOnScreen(id, run.window().browserPanel()), kServedBackground, 10000);
        QCOMPARE(xclients::managedWindowsOfThisProcess(), QList<quint64>{id});

        // Help: back to the local page in the light engine.
        run.program.infoPanel().onHelp(quillet::catalogue::ProgramPaths::localPage(folder.path()));
        QVERIFY(!run.window().browserPanel()->showsWebEngine());
        QCOMPARE(run.window().browserPanel()->backend()->title(), QStringLiteral("Quillet 帮助"));
        QTRY_VERIFY_WITH_TIMEOUT(panelMiddleOnScreen(id, run.window().browserPanel()) != kServedBackground, 10000);
        QVERIFY(run.program.window().infoTimer()->isRunning());

        QCOMPARE(window.winId(), id);
        QVERIFY(xclients::isViewable(id));
        window.close();
        QTRY_VERIFY(xclients::managedWindowsOfThisProcess().isEmpty());
        QCOMPARE(watch.seen(), QSet<quint64>{id});
    }
#endif
};

QTEST_MAIN(TestBrowserWindow)
#include "tst_browserwindow.moc"
