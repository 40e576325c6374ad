// Start-up, skin choice, About window and wind-down of a whole designer run.
#include "app/designerprogram.h"
#include "integration/infopanel.h"
#include "output/exporter.h"
#include "integration/onlinecheck.h"
#include "platform/browser/browserpanel.h"
#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"
#include "ui/aboutwindow.h"
#include "ui/designerwindow.h"

#include "support/designerrun.h"

#include <QtTest>

using quillet::app::DesignerProgram;

namespace {


void writeSettings(const ProgramFolder &folder, const QByteArray &value)
{
    QFile file(folder.settings());
    QVERIFY(file.open(QIODevice::WriteOnly));
    // As a Windows program leaves it: GBK section and key, CRLF.
    file.write("[\xc6\xa4\xb7\xf4]\r\n\xb5\xb1\xc7\xb0\xc6\xa4\xb7\xf4=" + value + "\r\n");
}

QStringList itemTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

class TestProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    void startUp()
    {
        ProgramFolder folder({QStringLiteral("经典.an"), QStringLiteral("Blue.an")});
        DesignerRun run(folder);
        run.program.start();
        auto &ui = run.ui();
        QCOMPARE(ui.组合框2->currentText(), QStringLiteral("104"));
        QCOMPARE(ui.组合框3->currentText(), QStringLiteral("24"));
        QCOMPARE(run.program.state().buttonWidth, 104);
        QCOMPARE(run.program.state().buttonHeight, 24);
        QCOMPARE(ui.编辑框2->text(), QStringLiteral("宋体 9"));
        QCOMPARE(run.program.exporter().state().extensionTable,
                 QStringList({QStringLiteral(".bmp"), QStringLiteral(".jpg"), QStringLiteral(".gif"),
                              QStringLiteral(".png")}));
        QCOMPARE(run.program.state().programFolder, folder.path());
        QCOMPARE(run.window().previewTimer()->interval(), 1000);
        QVERIFY(run.window().previewTimer()->isRunning());
        // The page thread's requests arrive queued.
        QTRY_COMPARE(ui.WebBrowser1->requestedAddress(), folder.path() + QStringLiteral("/sys/Untitled.htm"));
        QTRY_COMPARE(run.window().infoTimer()->interval(), 6000);
        QVERIFY(run.window().infoTimer()->isRunning());
        QCOMPARE(itemTexts(ui.列表框1), QStringList({QStringLiteral("经典"), QStringLiteral("Blue")}));
    }

    void firstTickComposesOnceAndNarrowsWindow()
    {
        ProgramFolder folder({QStringLiteral("经典.an")});
        DesignerRun run(folder);
        run.program.start();
        QCOMPARE(run.window().outerWidth(), 800);
        QTRY_VERIFY_WITH_TIMEOUT(run.program.state().firstPreviewDone, 5000);
        QCOMPARE(run.window().outerWidth(), 798);
        QVERIFY(!run.window().previewTimer()->isRunning());
        QVERIFY(!run.ui().画板1->pixels().isNull());
        // A later tick (after a skin choice) leaves the width alone.
        run.window().setOuterSize({820, 570});
        run.window().previewTimer()->setInterval(1);
        QTRY_VERIFY(!run.window().previewTimer()->isRunning());
        QCOMPARE(run.window().outerWidth(), 820);
    }

    void rememberedIndex_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("settingsFile");
        QTest::addColumn<int>("skinCount");
        QTest::addColumn<int>("index");
        QTest::newRow("2 of 3") << QByteArray("2") << true << 3 << 2;
        QTest::newRow("3.9") << QByteArray("3.9") << true << 3 << 3;
        QTest::newRow("no file") << QByteArray() << false << 3 << 1;
        QTest::newRow("0") << QByteArray("0") << true << 3 << 1;
        QTest::newRow("negative") << QByteArray("-4") << true << 3 << 1;
        QTest::newRow("too large") << QByteArray("9") << true << 3 << 1;
        QTest::newRow("letters") << QByteArray("abc") << true << 3 << 1;
        QTest::newRow("no skins") << QByteArray("2") << true << 0 << 2;
    }

    void rememberedIndex()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, settingsFile);
        QFETCH(int, skinCount);
        QFETCH(int, index);
        ProgramFolder folder;
        const QStringList skins{QStringLiteral("青春.an"), QStringLiteral("Blue.an"), QStringLiteral("Aqua.an")};
        for (int i = 0; i < skinCount; ++i)
            folder.addShippedSkin(skins[i]);
        if (settingsFile)
            writeSettings(folder, stored);
        DesignerRun run(folder);
        run.program.start();
        QCOMPARE(run.program.state().currentSkinIndex, index);
        QCOMPARE(run.ui().列表框1->currentRow(), skinCount ? index - 1 : -1);
        QVERIFY(run.window().isVisible());
        if (skinCount) {
            // The applied skin's colour is spread: the window carries it.
            QCOMPARE(run.window().palette().color(QPalette::Window), run.program.state().backgroundColour);
            QCOMPARE(run.ui().颜色选择器1->colour(), run.program.state().backgroundColour);
        }
    }

    void skinSelectedAppliesAndRestartsPreview()
    {
        ProgramFolder folder({QStringLiteral("青春.an"), QStringLiteral("Blue.an"), QStringLiteral("Aqua.an"),
                              QStringLiteral("Dark.an")});
        DesignerRun run(folder);
        run.program.start();
        run.window().previewTimer()->setInterval(0);
        const QColor before = run.program.state().backgroundColour;
        auto &ui = run.ui();
        ui.列表框1->setCurrentRow(2); // as the user's click does
        QCOMPARE(run.program.state().currentSkinIndex, 3);
        QCOMPARE(run.window().previewTimer()->interval(), 500);
        const QColor colour = run.program.state().backgroundColour;
        QVERIFY(colour != before);
        QCOMPARE(run.window().palette().color(QPalette::Window), colour);
        for (QLabel *label : run.window().findChildren<QLabel *>()) {
            if (label->objectName().startsWith(QStringLiteral("标签"))) {
                QVERIFY2(label->autoFillBackground(), qPrintable(label->objectName()));
                QCOMPARE(label->palette().color(QPalette::Window), colour);
            }
        }
        QCOMPARE(ui.画板a->backgroundColour(), colour);
        QCOMPARE(ui.颜色选择器1->colour(), colour);
        QCOMPARE(ui.画板1->backgroundColour(), QColor(Qt::white));
    }

    void colourPickerSpreadsButKeepsCanvases()
    {
        ProgramFolder folder({QStringLiteral("经典.an")});
        DesignerRun run(folder);
        run.program.start();
        run.dialogs.colourAnswers = {QColor(200, 10, 10)};
        auto &ui = run.ui();
        QTest::mouseClick(ui.颜色选择器1, Qt::LeftButton);
        QCOMPARE(run.program.state().backgroundColour, QColor(200, 10, 10));
        QCOMPARE(ui.标签16->palette().color(QPalette::Window), QColor(200, 10, 10));
        QCOMPARE(ui.画板a->backgroundColour(), QColor(200, 10, 10));
        QCOMPARE(ui.画板4->backgroundColour(), QColor(Qt::white));
        QCOMPARE(ui.颜色选择器1->colour(), QColor(200, 10, 10));
    }

    void aboutWindowIsModalAndTakesColour()
    {
        ProgramFolder folder({QStringLiteral("经典.an")});
        DesignerRun run(folder);
        run.program.start();
        run.window().previewTimer()->setInterval(0);
        run.program.state().backgroundColour = QColor(1, 2, 3);
        const QString widthBefore = run.ui().组合框2->currentText();
        for (int round = 0; round < 2; ++round) {
            bool seen = false;
            QTimer::singleShot(0, this, [&] {
                auto *about = qobject_cast<quillet::ui::AboutWindow *>(QApplication::activeModalWidget());
                QVERIFY(about);
                seen = true;
                QCOMPARE(about->palette().color(QPalette::Window), QColor(1, 2, 3));
                QCOMPARE(about->controls().标签1->palette().color(QPalette::Window), QColor(1, 2, 3));
                QCOMPARE(about->controls().超级链接框1->palette().color(QPalette::Window), QColor(1, 2, 3));
                QCOMPARE(about->controls().超级链接框2->palette().color(QPalette::Window), QColor(1, 2, 3));
                about->close();
            });
            QTest::mouseClick(run.ui().按钮5, Qt::LeftButton);
            QVERIFY(seen);
        }
        QCOMPARE(run.ui().组合框2->currentText(), widthBefore);
        QCOMPARE(run.program.state().backgroundColour, QColor(1, 2, 3));
    }

    void windDownStoresSkinReleasesAndPlacesLauncher()
    {
        ProgramFolder folder({QStringLiteral("青春.an"), QStringLiteral("经典.an"), QStringLiteral("Blue.an"),
                              QStringLiteral("Aqua.an"), QStringLiteral("Dark.an")});
        {
            QFile file(folder.settings());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Other]\r\nkeep = me\r\n; note\r\n[\xc6\xa4\xb7\xf4]\r\n\xb5\xb1\xc7\xb0\xc6\xa4\xb7\xf4=1\r\n");
        }
        DesignerRun run(folder);
        run.program.start();
        run.ui().列表框1->setCurrentRow(4);
        QVERIFY(QApplication::style()->inherits("QProxyStyle"));
        run.window().close();
        QFile file(folder.settings());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("[Other]\r\nkeep = me\r\n; note\r\n[\xc6\xa4\xb7\xf4]\r\n\xb5\xb1\xc7\xb0\xc6\xa4\xb7\xf4=5\r\n"));
        QVERIFY(!QApplication::style()->inherits("QProxyStyle"));
        QVERIFY(QFileInfo::exists(folder.desktop() + QStringLiteral("/Quillet 3.0.desktop")));
    }

    void closingRightAfterStartRacesNothing()
    {
        // The page thread is not waited for: a window gone before its requests arrive must
        // leave them nowhere to go, not in a dead object.
        ProgramFolder folder({QStringLiteral("经典.an")});
        for (int round = 0; round < 20; ++round) {
            auto run = std::make_unique<DesignerRun>(folder);
            run->program.start();
            run->window().close();
            run.reset();
            QCoreApplication::processEvents();
        }
        QTest::qWait(50);
        QCoreApplication::processEvents();
        QVERIFY(QFileInfo::exists(folder.settings()));
    }

    void onlineInformationAndHelp()
    {
        ProgramFolder folder({QStringLiteral("经典.an")});
        DesignerRun run(folder);
        run.program.start();
        const QString localPage = folder.path() + QStringLiteral("/sys/Untitled.htm");
        QTRY_COMPARE(run.ui().WebBrowser1->requestedAddress(), localPage);
        run.network.established = 3;
        run.network.resolvable = {QString::fromLatin1(quillet::integration::OnlineCheck::SecondProbeHost)};
        auto &info = run.program.infoPanel();
        for (int tick = 1; tick < 10; ++tick)
            info.onTick();
        QCOMPARE(run.ui().WebBrowser1->requestedAddress(), localPage);
        QVERIFY(run.network.lookups.isEmpty());
        info.onTick();
        QCOMPARE(run.ui().WebBrowser1->requestedAddress(), quillet::integration::OnlineCheck::informationPage());
        QVERIFY(!run.window().infoTimer()->isRunning());
        QTest::mouseClick(run.ui().按钮7, Qt::LeftButton);
        QCOMPARE(run.ui().WebBrowser1->requestedAddress(), localPage);
        QCOMPARE(info.tickCount(), 0);
        QCOMPARE(run.window().infoTimer()->interval(), 6000);
        QVERIFY(run.window().infoTimer()->isRunning());
    }
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
