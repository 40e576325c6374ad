// Under a real X server without a window manager: the browser panel's two page engines and
// the sample states on a real, shown window.
#include "app/designerprogram.h"
#include "integration/infopanel.h"
#include "integration/onlinecheck.h"
#include "platform/browser/browserfactory.h"
#include "platform/browser/browserpanel.h"
#include "platform/browser/textbrowserbackend.h"
#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"
#include "render/samplepreview.h"
#include "ui/designerwindow.h"
#if QUILLET_HAVE_WEBENGINE
#include "platform/browser/webenginebackend.h"
#include <QWebEnginePage>
#include <QWebEngineView>
#endif

#include "support/fakedialogs.h"
#include "support/fakenetworkprobe.h"
#include "support/programfolder.h"

#include <QtTest>

using quillet::browser::BrowserPanel;

class TestRealWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    void textBrowserShowsLocalPage()
    {
        auto backend = std::make_unique<quillet::browser::TextBrowserBackend>();
        auto *text = backend.get();
        BrowserPanel panel(std::move(backend));
        panel.resize(337, 518);
        panel.show();
        panel.navigate(QStringLiteral(QUILLET_SOURCE_DIR "/sys/Untitled.htm"));
        QCOMPARE(text->view().documentTitle(), QStringLiteral("Quillet 帮助"));
        QVERIFY(text->view().toPlainText().contains(QStringLiteral("保存图片")));
    }

#if QUILLET_HAVE_WEBENGINE
    void webEngineShowsLocalPageAndInformationRequest()
    {
        ProgramFolder folder({QStringLiteral("经典.an")});
        FakeDialogs dialogs;
        FakeNetworkProbe network;
        qunsetenv("QUILLET_BROWSER");
        quillet::app::DesignerProgram program({dialogs, network, folder.path(), folder.desktop(), QStringLiteral("quillet")});
        auto *engine = dynamic_cast<quillet::browser::WebEngineBackend *>(program.window().browserPanel()->backend());
        QVERIFY2(engine, "the full build shows pages with WebEngine");
        QSignalSpy loaded(engine->view(), &QWebEngineView::loadFinished);
        program.start();
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 30000);
        QCOMPARE(loaded.first().first().toBool(), true);
        QTRY_COMPARE_WITH_TIMEOUT(engine->view()->title(), QStringLiteral("Quillet 帮助"), 10000);
        QCOMPARE(engine->view()->url(), QUrl::fromLocalFile(folder.path() + QStringLiteral("/sys/Untitled.htm")));

        network.established = 1;
        network.resolvable = {QString::fromLatin1(quillet::integration::OnlineCheck::FirstProbeHost)};
        for (int tick = 0; tick < 10; ++tick)
            program.infoPanel().onTick();
        QCOMPARE(ui.WebBrowser1->requestedAddress(), quillet::integration::OnlineCheck::informationPage());
        QCOMPARE(engine->view()->page()->requestedUrl(), QUrl(quillet::integration::OnlineCheck::informationPage()));
        QVERIFY(!program.window().infoTimer()->isRunning());
    }
#endif

    void statesShowOnARealWindow()
    {
        ProgramFolder folder({QStringLiteral("经典.an")});
        FakeDialogs dialogs;
        FakeNetworkProbe network;
        qputenv("QUILLET_BROWSER", QByteArray("null"));
        quillet::app::DesignerProgram program({dialogs, network, folder.path(), folder.desktop(), QStringLiteral("quillet")});
        program.start();
        QVERIFY(QTest::qWaitForWindowExposed(&program.window()));
        program.window().previewTimer()->setInterval(0);
        program.preview().composePreview();
        const auto button = program.window().buttonCanvases();
        for (size_t a = 0; a < button.size(); ++a)
            for (size_t b = a + 1; b < button.size(); ++b)
                QVERIFY2(button[a]->pixels() != button[b]->pixels(), qPrintable(QStringLiteral("%1 %2").arg(a).arg(b)));
        QVERIFY(program.window().comboCanvases()[0]->pixels() != program.window().comboCanvases()[1]->pixels());
        QVERIFY(program.window().checkCanvases()[0]->pixels() != program.window().checkCanvases()[1]->pixels());
        // Without a window manager the window need not be active: the focus is the window's focus widget.
        QCOMPARE(program.window().focusWidget(), program.window().saveButton());
        qunsetenv("QUILLET_BROWSER");
    }
};

QTEST_MAIN(TestRealWindow)
#include "tst_realwindow.moc"
