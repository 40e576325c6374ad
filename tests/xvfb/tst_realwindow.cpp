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
        program.window().时钟1()->setInterval(0);
        program.preview().composePreview();
        auto &ui = program.window().controls();
        const QList<quillet::form::Canvas *> button{ui.画板1, ui.画板2, ui.画板3, ui.画板4};
        for (int a = 0; a < button.size(); ++a)
            for (int b = a + 1; b < button.size(); ++b)
                QVERIFY2(button[a]->pixels() != button[b]->pixels(), qPrintable(QStringLiteral("%1 %2").arg(a).arg(b)));
        QVERIFY(ui.画板5->pixels() != ui.画板6->pixels());
        QVERIFY(ui.画板8->pixels() != ui.画板9->pixels());
        // Without a window manager the window need not be active: the focus is the window's focus widget.
        QCOMPARE(program.window().focusWidget(), ui.保存图片按钮);
        qunsetenv("QUILLET_BROWSER");
    }
};

QTEST_MAIN(TestRealWindow)
#include "tst_realwindow.moc"
