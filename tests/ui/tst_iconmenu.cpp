// The caption box's icon entries on a real X server with a window manager (openbox): a
// right click sent as real X input opens the menu, a click on 选择图标… opens Qt's real file
// dialog, and the path typed into it becomes the sample button's icon.
#include "app/designerprogram.h"
#include "model/appstate.h"
#include "platform/form/fontsetup.h"
#include "platform/form/qtdialogs.h"
#include "ui/designerwindow.h"
#include "ui/iconmenu.h"

#include "support/designerrun.h"
#include "support/testicons.h"
#include "support/xclients.h"

#include <QFileDialog>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace Qt::StringLiterals;
using quillet::ui::IconMenu;

namespace {

using xclients::run;

bool windowManagerRunning()
{
    return run(u"xprop"_s, { u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s }).contains(u"window id"_s);
}

void clickAt(const QPoint &global, int button)
{
    run(u"xdotool"_s,
        { u"mousemove"_s, QString::number(global.x()), QString::number(global.y()), u"click"_s,
            QString::number(button) });
}

} // namespace

class TestIconMenu : public QObject
{
    Q_OBJECT

    QProcess m_windowManager;

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        for (const QString &tool : { u"openbox"_s, u"xdotool"_s, u"xprop"_s })
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(tool + u" missing"_s));
        m_windowManager.start(u"openbox"_s, {});
        QVERIFY(m_windowManager.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(windowManagerRunning(), 20000);
    }
    void cleanupTestCase()
    {
        if (m_windowManager.state() != QProcess::NotRunning) {
            m_windowManager.terminate();
            m_windowManager.waitForFinished(10000);
        }
    }

    void realFileDialogChoosesTheIcon()
    {
        qputenv("QUILLET_BROWSER", QByteArray("null"));
        QTemporaryDir icons;
        const QString path = testicons::write(icons.path(), u"download.svg"_s, testicons::glyphSvg());
        QVERIFY(!path.isEmpty());
        quillet::form::QtDialogs dialogs;
        DesignerRun designer({ u"经典.an"_s }, DesignerRun::Start::Later, &dialogs);
        auto &program = designer.program;
        program.start();
        auto &window = program.window();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window, 20000));
        const QImage before = window.sampleButton()->grab().toImage();

        QLineEdit *box = window.captionBox();
        clickAt(box->mapToGlobal(box->rect().center()), 3);
        QTRY_VERIFY_WITH_TIMEOUT(program.iconMenu().menu() && program.iconMenu().menu()->isVisible(), 10000);
        QMenu *menu = program.iconMenu().menu();
        QAction *choose = nullptr;
        for (QAction *action : menu->actions())
            choose = action->text() == IconMenu::kChooseText ? action : choose;
        QVERIFY(choose);

        // The dialog runs its own loop: it is answered from a timer inside that loop, with
        // the path typed as a user types it; a dialog that does not take it is closed.
        QString title;
        QStringList filters;
        bool typed = false;
        QTimer poll;
        poll.setInterval(50);
        QElapsedTimer waited;
        waited.start();
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            if (waited.elapsed() > 30000) {
                dialog->reject();
                return;
            }
            if (typed || !dialog->isActiveWindow())
                return;
            typed = true;
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            run(u"xdotool"_s, { u"type"_s, u"--delay"_s, u"5"_s, path });
            run(u"xdotool"_s, { u"key"_s, u"Return"_s });
        });
        poll.start();
        clickAt(menu->mapToGlobal(menu->actionGeometry(choose).center()), 1);
        QTRY_VERIFY_WITH_TIMEOUT(typed, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(program.state().icon.file, path, 20000);
        poll.stop();
        QCOMPARE(title, IconMenu::kDialogTitle);
        QVERIFY2(filters.first().contains(u"*.svg"_s) && filters.first().contains(u"*.png"_s),
            qPrintable(filters.join(u", "_s)));
        QTRY_VERIFY(window.sampleButton()->grab().toImage() != before);
    }
};

QTEST_MAIN(TestIconMenu)
#include "tst_iconmenu.moc"
