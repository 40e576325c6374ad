// Under a real X server without a window manager: the light page engine and the sample
// states on a real, shown window. The web engine is tested under a window manager.
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
        BrowserPanel panel(std::move(backend), {});
        panel.resize(337, 518);
        panel.show();
        panel.navigate(QStringLiteral(QUILLET_SOURCE_DIR "/sys/Untitled.htm"));
        // Loaded once the window is on the X server's screen.
        QTRY_COMPARE(text->view().documentTitle(), QStringLiteral("Quillet 帮助"));
        QVERIFY(text->view().toPlainText().contains(QStringLiteral("保存图片")));
    }


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
