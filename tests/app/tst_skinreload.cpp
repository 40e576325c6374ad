// A skin edited on disk while the designer shows it: the real window on the X server takes
// the new look within a second, with every setting kept; a half-saved file keeps the last
// good look; the skin list follows the folder. Runs under a window manager.
#include "support/designerrun.h"

#include "catalogue/skinwatcher.h"
#include "model/appstate.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray skinWithBase(const char *base)
{
    return QByteArray("[skin]\nbase = ") + base + "\n[button]\nfill = #ffffff\ntext = #000000\n";
}

// As editors save: a new file renamed over the old one.
void saveLikeAnEditor(const QString &path, const QByteArray &text)
{
    const QString temporary = path + u".swp"_s;
    QFile file(temporary);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    QVERIFY(::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) == 0);
}

// How many pixels of the window, as the X server shows them, have this colour.
int pixelsOnScreen(QWidget *window, QRgb colour)
{
    const QRect frame(window->mapToGlobal(QPoint(0, 0)), window->size());
    const QImage screen
        = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    int count = 0;
    const QRect area = frame & screen.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += (screen.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    }
    return count;
}

// Enough of the window to be its background, not a stray pixel of a picture.
constexpr int kBackgroundPixels = 2000;

} // namespace

class TestSkinReload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void followsTheFileOnDisk()
    {
        ProgramFolder folder({ u"经典.an"_s });
        folder.writeSkin(u"Test.an"_s, skinWithBase("#336699"));
        DesignerRun run(folder);
        run.start();
        QWidget *window = &run.window();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QListWidget *list = run.window().skinList();
        const auto testRow = [list] {
            for (int i = 0; i < list->count(); ++i) {
                if (list->item(i)->text() == u"Test"_s)
                    return i;
            }
            return -1;
        };
        list->setCurrentRow(testRow());
        run.ui().编辑框1->setText(u"保留"_s);
        const QString caption = run.window().sampleButton()->text();
        const QSize sampleSize = run.window().sampleButton()->size();
        QTRY_VERIFY(pixelsOnScreen(window, qRgb(0x33, 0x66, 0x99)) > kBackgroundPixels);

        const QString path = folder.skins() + u"/Test.an"_s;
        saveLikeAnEditor(path, skinWithBase("#994422"));
        QTRY_VERIFY_WITH_TIMEOUT(pixelsOnScreen(window, qRgb(0x99, 0x44, 0x22)) > kBackgroundPixels, 1000);
        QCOMPARE(run.program.state().backgroundColour, QColor(0x99, 0x44, 0x22));
        QCOMPARE(run.window().sampleButton()->text(), caption);
        QCOMPARE(run.window().sampleButton()->size(), sampleSize);
        QCOMPARE(list->item(list->currentRow())->text(), u"Test"_s);

        // A second edit after the rename: the watch went on with the new file.
        saveLikeAnEditor(path, skinWithBase("#228844"));
        QTRY_VERIFY_WITH_TIMEOUT(pixelsOnScreen(window, qRgb(0x22, 0x88, 0x44)) > kBackgroundPixels, 1000);

        // Half saved (truncated, nothing written yet): the last good look stays, nothing asks.
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        }
        QTest::qWait(4 * quillet::catalogue::SkinWatcher::kSettleMs);
        QVERIFY(pixelsOnScreen(window, qRgb(0x22, 0x88, 0x44)) > kBackgroundPixels);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(run.dialogs.confirmations.size(), 0);
    }

    void listFollowsTheFolder()
    {
        ProgramFolder folder({ u"经典.an"_s });
        folder.writeSkin(u"M.an"_s, skinWithBase("#336699"));
        DesignerRun run(folder);
        run.start();
        QListWidget *list = run.window().skinList();
        const int before = list->count();
        list->setCurrentRow(0);
        const QString chosen = list->currentItem()->text();
        // Names before and after the chosen one in the list's order.
        folder.writeSkin(u"ZZ.an"_s, skinWithBase("#101010"));
        folder.writeSkin(u"AA.an"_s, skinWithBase("#202020"));
        QTRY_COMPARE_WITH_TIMEOUT(list->count(), before + 2, 1000);
        QCOMPARE(list->currentItem()->text(), chosen);
        QCOMPARE(
            run.program.state().skinFiles.at(run.program.state().currentSkinIndex - 1), chosen + u".an"_s);
        QVERIFY(QFile::remove(folder.skins() + u"/ZZ.an"_s));
        QTRY_COMPARE_WITH_TIMEOUT(list->count(), before + 1, 1000);
        QCOMPARE(list->currentItem()->text(), chosen);
    }
};

QTEST_MAIN(TestSkinReload)
#include "tst_skinreload.moc"
