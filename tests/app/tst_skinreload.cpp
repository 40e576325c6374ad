// A skin edited on disk while the designer shows it: the real window on the X server takes the
// new look within a second, settings kept; a half-saved file keeps the last good look.
#include "support/designerrun.h"

#include "catalogue/skinwatcher.h"
#include "model/appstate.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSaveFile>
#include <QScreen>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray skinWithBase(const char *base)
{
    return QByteArray("[skin]\nbase = ") + base + "\n[button]\nfill = #ffffff\ntext = #000000\n";
}

// How many pixels of the window, as the X server shows them, have this colour.
int pixelsOnScreen(QWidget *window, QRgb colour)
{
    const QRect frame(window->mapToGlobal(QPoint(0, 0)), window->size());
    const QImage screen
        = QApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    const QRect area = frame & screen.rect();
    int count = 0;
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
        list->setCurrentItem(list->findItems(u"Test"_s, Qt::MatchExactly).value(0));
        run.ui().编辑框1->setText(u"保留"_s);
        const QString caption = run.window().sampleButton()->text();
        const QSize sampleSize = run.window().sampleButton()->size();
        QTRY_VERIFY(pixelsOnScreen(window, qRgb(0x33, 0x66, 0x99)) > kBackgroundPixels);

        // Twice: after the first rename the watch must go on with the new file.
        const QString path = folder.skins() + u"/Test.an"_s;
        for (const QColor base : { QColor(0x99, 0x44, 0x22), QColor(0x22, 0x88, 0x44) }) {
            QSaveFile file(path); // as editors save: a new file renamed over the old one
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(skinWithBase(qPrintable(base.name())));
            QVERIFY(file.commit());
            QTRY_VERIFY_WITH_TIMEOUT(pixelsOnScreen(window, base.rgb()) > kBackgroundPixels, 1000);
            QCOMPARE(run.program.state().backgroundColour, base);
            QCOMPARE(run.window().sampleButton()->text(), caption);
            QCOMPARE(run.window().sampleButton()->size(), sampleSize);
            QCOMPARE(list->currentItem()->text(), u"Test"_s);
        }

        // Names added before and after the chosen one keep it chosen, in the list and the state.
        const int before = list->count();
        folder.writeSkin(u"ZZ.an"_s, skinWithBase("#101010"));
        folder.writeSkin(u"AA.an"_s, skinWithBase("#202020"));
        QTRY_COMPARE_WITH_TIMEOUT(list->count(), before + 2, 1000);
        QCOMPARE(list->currentItem()->text(), u"Test"_s);
        const auto &state = run.program.state();
        QCOMPARE(state.skinFiles.at(state.currentSkinIndex - 1), u"Test.an"_s);
        QVERIFY(QFile::remove(folder.skins() + u"/ZZ.an"_s));
        QTRY_COMPARE_WITH_TIMEOUT(list->count(), before + 1, 1000);
        QCOMPARE(list->currentItem()->text(), u"Test"_s);

        // Half saved (truncated, nothing written yet): the last good look stays, nothing asks.
        QVERIFY(QFile(path).open(QIODevice::WriteOnly | QIODevice::Truncate));
        QTest::qWait(4 * quillet::catalogue::SkinWatcher::kSettleMs);
        QVERIFY(pixelsOnScreen(window, qRgb(0x22, 0x88, 0x44)) > kBackgroundPixels);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(run.dialogs.confirmations.size(), 0);
    }
};

QTEST_MAIN(TestSkinReload)
#include "tst_skinreload.moc"
