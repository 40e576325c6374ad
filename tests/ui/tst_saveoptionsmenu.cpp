// The save button's context menu on a real X server with a window manager (openbox): the
// menu key and a right click, sent as real X input with xdotool, open it; the X server
// reports the menu's window as mapped.
#include "app/designerprogram.h"
#include "platform/form/fontsetup.h"
#include "ui/designerwindow.h"
#include "ui/saveoptionsmenu.h"

#include "support/designerrun.h"

#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool windowManagerRunning()
{
    return run(u"xprop"_s, { u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s }).contains(u"window id"_s);
}

} // namespace

class TestSaveOptionsMenu : public QObject
{
    Q_OBJECT

    QProcess m_windowManager;

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        for (const QString &tool : { u"openbox"_s, u"xdotool"_s, u"xwininfo"_s, u"xprop"_s })
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

    void realInputOpensTheMenu_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("menu key") << true;
        QTest::newRow("right click") << false;
    }
    void realInputOpensTheMenu()
    {
        QFETCH(bool, byKey);
        qputenv("QUILLET_BROWSER", QByteArray("null"));
        DesignerRun designer({ u"经典.an"_s }, DesignerRun::Start::Later);
        auto &program = designer.program;
        program.start();
        QWidget &window = program.window();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window, 20000));
        QPushButton *save = program.window().saveButton();
        QMenu *menu = program.saveOptions().menu();
        QVERIFY(!menu->isVisible());

        if (byKey) {
            save->setFocus(Qt::OtherFocusReason);
            QTRY_VERIFY(save->hasFocus());
            run(u"xdotool"_s, { u"key"_s, u"Menu"_s });
        } else {
            const QPoint at = save->mapToGlobal(save->rect().center());
            run(u"xdotool"_s,
                { u"mousemove"_s, QString::number(at.x()), QString::number(at.y()), u"click"_s, u"3"_s });
        }
        QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), 10000);
        const QString info = run(u"xwininfo"_s, { u"-id"_s, QString::number(menu->winId()) });
        QVERIFY2(info.contains(u"Map State: IsViewable"_s), qPrintable(info));
        // Four options, then the accent's two entries and one entry per kit target, each group
        // set apart.
        QCOMPARE(menu->actions().size(), 8 + int(quillet::ui::SaveOptionsMenu::kKitEntries.size()));

        // Choosing an entry with the keyboard, as a user would, ticks the option.
        run(u"xdotool"_s, { u"key"_s, u"Down"_s, u"Return"_s });
        QTRY_VERIFY_WITH_TIMEOUT(!menu->isVisible(), 10000);
        QCOMPARE(program.state().webOptions.transparent, true);
        QVERIFY(program.saveOptions().transparentAction()->isChecked());
    }
};

QTEST_MAIN(TestSaveOptionsMenu)
#include "tst_saveoptionsmenu.moc"
