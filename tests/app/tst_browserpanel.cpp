// The browser panel's choice of engine: local pages in the light one, web addresses in the
// web engine, loaded once on first need; and a run whose web engine cannot be had.
#include "app/designerprogram.h"
#include "catalogue/programpaths.h"
#include "integration/infopanel.h"
#include "integration/onlinecheck.h"
#include "platform/browser/browserpanel.h"
#include "platform/browser/textbrowserbackend.h"
#include "platform/browser/webenginemodule.h"
#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"
#include "ui/designerwindow.h"

#include "support/designerrun.h"

#include <QLibraryInfo>
#include <QtTest>

using quillet::browser::BrowserBackend;
using quillet::browser::BrowserPanel;
using quillet::browser::TextBrowserBackend;
using quillet::browser::WebEngineModule;

namespace {

class FakeWebEngine : public BrowserBackend
{
public:
    QWidget *widget() override { return &m_view; }
    void navigate(const QString &address) override
    {
        addresses.append(address);
        if (m_loaded)
            m_loaded(true);
    }
    void setLoadedHandler(LoadedHandler handler) override { m_loaded = std::move(handler); }
    QString title() const override { return addresses.value(addresses.size() - 1); }

    QStringList addresses;

private:
    QWidget m_view;
    LoadedHandler m_loaded;
};

struct Panel
{
    explicit Panel(bool webEngineAvailable = true)
    {
        auto light = std::make_unique<TextBrowserBackend>();
        text = light.get();
        panel = std::make_unique<BrowserPanel>(std::move(light), [this, webEngineAvailable] {
            ++webEngineRequests;
            if (!webEngineAvailable)
                return std::unique_ptr<BrowserBackend>();
            auto engine = std::make_unique<FakeWebEngine>();
            web = engine.get();
            return std::unique_ptr<BrowserBackend>(std::move(engine));
        });
        panel->resize(337, 518);
    }
    TextBrowserBackend *text = nullptr;
    FakeWebEngine *web = nullptr;
    int webEngineRequests = 0;
    std::unique_ptr<BrowserPanel> panel;
};

QString localPage()
{
    return QStringLiteral(QUILLET_SOURCE_DIR "/sys/Untitled.htm");
}

bool webEngineMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngine");
}

} // namespace

class TestBrowserPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }
    void cleanup() { WebEngineModule::setPath({}); }

    void engineForAddress_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("web");
        QTest::newRow("local path") << localPage() << false;
        QTest::newRow("file URL") << QUrl::fromLocalFile(localPage()).toString() << false;
        QTest::newRow("http") << QStringLiteral("http://www.example.org/POParticle/16/78.Html") << true;
        QTest::newRow("https") << QStringLiteral("https://www.example.org/") << true;
        QTest::newRow("upper-case scheme") << QStringLiteral("HTTP://www.example.org/") << true;
        QTest::newRow("host without scheme") << QStringLiteral("www.example.org") << true;
        QTest::newRow("about page") << QStringLiteral("about:blank") << false;
        QTest::newRow("ftp") << QStringLiteral("ftp://www.example.org/a.htm") << false;
    }
    void engineForAddress()
    {
        QFETCH(QString, address);
        QFETCH(bool, web);
        Panel p;
        p.panel->navigate(address);
        QCOMPARE(p.panel->showsWebEngine(), web);
        QCOMPARE(p.webEngineRequests, web ? 1 : 0);
        QCOMPARE(p.panel->requestedAddress(), address);
        if (web) {
            QCOMPARE(p.web->addresses, QStringList{address});
            QCOMPARE(p.panel->backend(), p.web);
        } else {
            QCOMPARE(p.panel->backend(), p.text);
        }
    }

    // The web engine is loaded once, at the first web address, and kept for later ones.
    void webEngineLoadedOnceAndLeftForLocalPages()
    {
        Panel p;
        p.panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(p.panel.get()));
        p.panel->navigate(localPage());
        p.panel->navigate(localPage());
        QCOMPARE(p.webEngineRequests, 0);
        QCOMPARE(p.text->title(), QStringLiteral("Quillet 帮助"));
        QVERIFY(p.text->widget()->isVisible());

        p.panel->navigate(QStringLiteral("http://127.0.0.1:9/a"));
        QVERIFY(p.web->widget()->isVisible());
        QVERIFY(!p.text->widget()->isVisible());
        FakeWebEngine *first = p.web;

        p.panel->navigate(localPage());
        QVERIFY(!p.panel->showsWebEngine());
        QVERIFY(p.text->widget()->isVisible());
        QVERIFY(!p.web->widget()->isVisible());
        QCOMPARE(p.text->title(), QStringLiteral("Quillet 帮助"));

        p.panel->navigate(QStringLiteral("https://127.0.0.1:9/b"));
        QCOMPARE(p.webEngineRequests, 1);
        QCOMPARE(p.web, first);
        QCOMPARE(p.web->addresses, QStringList({QStringLiteral("http://127.0.0.1:9/a"), QStringLiteral("https://127.0.0.1:9/b")}));
    }

    // The page thread asks for the local page before the window is on screen: the page
    // waits for the window's first picture, the address is taken at once.
    void pageOfAnUnexposedWindowWaitsForTheExpose()
    {
        Panel p;
        QSignalSpy loaded(p.panel.get(), &BrowserPanel::pageLoaded);
        p.panel->show();
        QVERIFY(!p.panel->windowHandle()->isExposed());
        p.panel->navigate(localPage());
        QCOMPARE(p.panel->requestedAddress(), localPage());
        QVERIFY(p.text->view().document()->isEmpty());
        QVERIFY(loaded.isEmpty());
        QVERIFY(QTest::qWaitForWindowExposed(p.panel.get()));
        QTRY_COMPARE(loaded.size(), 1);
        QCOMPARE(p.text->title(), QStringLiteral("Quillet 帮助"));
        // Once on screen, pages load at once.
        p.panel->navigate(QStringLiteral("http://127.0.0.1:9/"));
        QCOMPARE(loaded.size(), 2);
        QVERIFY(p.panel->showsWebEngine());
    }

    void withoutWebEngineWebAddressesStayLight()
    {
        Panel p(false);
        QSignalSpy loaded(p.panel.get(), &BrowserPanel::pageLoaded);
        const QString address = QStringLiteral("http://www.example.org/POParticle/16/78.Html");
        p.panel->navigate(address);
        p.panel->navigate(address);
        QCOMPARE(p.webEngineRequests, 1);
        QVERIFY(p.panel->webEngineFailed());
        QVERIFY(!p.panel->showsWebEngine());
        QCOMPARE(p.panel->backend(), p.text);
        QVERIFY(p.text->view().toPlainText().contains(address));
        QCOMPARE(loaded.size(), 2);
        QCOMPARE(loaded.last().first().toBool(), false);
        p.panel->navigate(localPage());
        QCOMPARE(p.text->title(), QStringLiteral("Quillet 帮助"));
        QCOMPARE(loaded.last().first().toBool(), true);
    }

    void loadedSignalFollowsTheEngineShown()
    {
        Panel p;
        QSignalSpy loaded(p.panel.get(), &BrowserPanel::pageLoaded);
        p.panel->navigate(localPage());
        p.panel->navigate(QStringLiteral("http://127.0.0.1:9/"));
        p.panel->navigate(QStringLiteral("/nonexistent/page.htm"));
        QCOMPARE(loaded.size(), 3);
        QCOMPARE(loaded.at(0).first().toBool(), true);
        QCOMPARE(loaded.at(1).first().toBool(), true);
        QCOMPARE(loaded.at(2).first().toBool(), false);
    }

    // Every way of not getting the module ends in no backend and a reason, never a crash,
    // and the web engine's libraries stay out of the process.
    void moduleNotAvailable_data()
    {
        QTest::addColumn<QString>("modulePath");
        QTest::addColumn<QByteArray>("helperProcess");
        const QString built = QStringLiteral(QUILLET_BINARY_DIR "/bin/quillet_webengine.so");
        QTest::newRow("no module file") << QStringLiteral("/nonexistent/quillet_webengine.so") << QByteArray();
        QTest::newRow("not a library") << QStringLiteral(QUILLET_SOURCE_DIR "/sys/Untitled.htm") << QByteArray();
        QTest::newRow("library without the entry point")
            << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms/libqoffscreen.so") << QByteArray();
        QTest::newRow("helper program missing") << built << QByteArray("/nonexistent/QtWebEngineProcess");
        QTest::newRow("helper program not a program") << built << QByteArray(QUILLET_SOURCE_DIR "/sys/Untitled.htm");
    }
    void moduleNotAvailable()
    {
        QFETCH(QString, modulePath);
        QFETCH(QByteArray, helperProcess);
        const QByteArray saved = qgetenv("QTWEBENGINE_PROCESS_PATH");
        if (!helperProcess.isEmpty())
            qputenv("QTWEBENGINE_PROCESS_PATH", helperProcess);
        WebEngineModule::setPath(modulePath);
        QString why;
        const auto backend = WebEngineModule::create(&why);
        if (helperProcess.isEmpty())
            qunsetenv("QTWEBENGINE_PROCESS_PATH");
        else if (saved.isEmpty())
            qunsetenv("QTWEBENGINE_PROCESS_PATH");
        else
            qputenv("QTWEBENGINE_PROCESS_PATH", saved);
        QVERIFY(!backend);
        QVERIFY(!why.isEmpty());
        QVERIFY(!webEngineMapped());
    }

    // A whole run without the module: the local page, the information tick that finds the
    // machine online, Help; the light engine shows everything and nothing fails.
    void runWithoutModuleReachesInformationTick()
    {
        const QByteArray saved = qgetenv("QUILLET_BROWSER");
        qunsetenv("QUILLET_BROWSER");
        WebEngineModule::setPath(QStringLiteral("/nonexistent/quillet_webengine.so"));
        DesignerRun run({QStringLiteral("经典.an")}, DesignerRun::Start::Later);
        auto &program = run.program;
        auto &network = run.network;
        ProgramFolder &folder = run.folder();
        qputenv("QUILLET_BROWSER", saved);
        BrowserPanel *panel = program.window().browserPanel();
        program.start();
        const QString local = quillet::catalogue::ProgramPaths::localPage(folder.path());
        QTRY_COMPARE(panel->requestedAddress(), local);
        QTRY_COMPARE(panel->backend()->title(), QStringLiteral("Quillet 帮助"));

        network.established = 1;
        network.resolvable = {QString::fromLatin1(quillet::integration::OnlineCheck::SecondProbeHost)};
        for (int tick = 0; tick < 10; ++tick)
            program.infoPanel().onTick();
        QCOMPARE(panel->requestedAddress(), quillet::integration::OnlineCheck::informationPage());
        QVERIFY(panel->webEngineFailed());
        QVERIFY(!panel->showsWebEngine());
        auto *text = dynamic_cast<TextBrowserBackend *>(panel->backend());
        QVERIFY(text);
        QVERIFY(text->view().toPlainText().contains(quillet::integration::OnlineCheck::informationPage()));
        QVERIFY(!program.window().infoTimer()->isRunning());

        program.infoPanel().onHelp(local);
        QCOMPARE(panel->backend()->title(), QStringLiteral("Quillet 帮助"));
        QVERIFY(program.window().infoTimer()->isRunning());
        QVERIFY(!webEngineMapped());
    }
};

QTEST_MAIN(TestBrowserPanel)
#include "tst_browserpanel.moc"
