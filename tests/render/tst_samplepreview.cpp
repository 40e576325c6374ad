// The preview compositions checked pixel by pixel against pictures made without the form
// runtime's message path (the samples put into each state with Qt directly), the geometry
// that follows the sample and the window, and the wait that lets events run.
#include "app/designerprogram.h"
#include "platform/form/canvas.h"
#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"
#include "platform/form/statehints.h"
#include "model/metrics.h"
#include "render/samplepreview.h"
#include "ui/designerwindow.h"

#include "support/designerrun.h"

#include <QPainter>
#include <QtTest>

using quillet::app::DesignerProgram;
constexpr QSize kButtonSize { quillet::model::Metrics::kButtonWidth, quillet::model::Metrics::kButtonHeight };
using quillet::form::Canvas;
using quillet::render::SamplePreview;
using FontChoice = quillet::form::Dialogs::FontChoice;

namespace {


constexpr int kWaitRounds = 8;
constexpr qint64 kNanosecondsPerMillisecond = 1000000;


void chooseItem(QComboBox *box, int index)
{
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

// The control as it shows now, painted over white like a capture.
QImage picture(QWidget *control)
{
    QImage image(control->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(QPoint(0, 0), control->grab().toImage());
    return image;
}

// A rectangle of a control's picture as seen through a white scratch canvas.
QImage pictureRect(QWidget *control, const QRect &rect)
{
    QImage image(rect.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(-rect.topLeft(), picture(control));
    return image;
}

// What the canvas shows: its held pixels over its white background, at its own size.
QImage shown(const Canvas *canvas)
{
    QImage image(canvas->size(), QImage::Format_RGB32);
    image.fill(canvas->backgroundColour());
    QPainter painter(&image);
    painter.drawImage(QPoint(0, 0), canvas->pixels());
    return image;
}

struct ButtonPictures
{
    QImage normal, pressed, hot, disabled;
};

ButtonPictures buttonPictures(QPushButton *sample)
{
    ButtonPictures pictures;
    pictures.normal = picture(sample);
    sample->setDown(true);
    pictures.pressed = picture(sample);
    sample->setDown(false);
    sample->setAttribute(Qt::WA_UnderMouse, true);
    pictures.hot = picture(sample);
    sample->setAttribute(Qt::WA_UnderMouse, false);
    sample->setEnabled(false);
    pictures.disabled = picture(sample);
    sample->setEnabled(true);
    return pictures;
}

QList<QImage> comboPictures(QComboBox *combo, int width)
{
    const QRect rect(quillet::model::Metrics::kDropButtonLeft, 0, width, combo->height());
    QList<QImage> pictures;
    combo->setEnabled(true);
    pictures << pictureRect(combo, rect);
    combo->setProperty(quillet::form::kPressedProperty, true);
    pictures << pictureRect(combo, rect);
    combo->setProperty(quillet::form::kPressedProperty, false);
    combo->setEnabled(false);
    pictures << pictureRect(combo, rect);
    return pictures;
}

QList<QImage> checkPictures(QCheckBox *box, int side)
{
    const QRect rect(0, 0, side, side);
    QList<QImage> pictures;
    box->setChecked(false);
    pictures << pictureRect(box, rect);
    box->setChecked(true);
    pictures << pictureRect(box, rect);
    box->setChecked(false);
    box->setEnabled(false);
    pictures << pictureRect(box, rect);
    box->setEnabled(true);
    return pictures;
}

void verifyStateOfSamplesAfterComposition(DesignerRun &run)
{
    auto &ui = run.ui();
    QVERIFY(!ui.组合框1->isEnabled());
    QVERIFY(ui.样本按钮->isEnabled());
    QVERIFY(ui.选择框4->isEnabled());
    QVERIFY(!ui.选择框4->isChecked());
    QCOMPARE(run.window().focusWidget(), ui.保存图片按钮);
    QVERIFY(!ui.源画板->isVisible());
}

void verifyPairwiseDifferent(const QList<Canvas *> &canvases, const QString &what)
{
    for (int a = 0; a < canvases.size(); ++a) {
        for (int b = a + 1; b < canvases.size(); ++b) {
            QVERIFY2(canvases[a]->pixels() != canvases[b]->pixels(),
                qPrintable(QStringLiteral("%1: %2 and %3 are alike")
                               .arg(what, canvases[a]->objectName(), canvases[b]->objectName())));
        }
    }
}

} // namespace

class TestSamplePreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    void waitWithEvents_data()
    {
        QTest::addColumn<int>("milliseconds");
        QTest::newRow("1") << 1;
        QTest::newRow("10") << 10;
        QTest::newRow("35") << 35;
    }

    void waitWithEvents()
    {
        QFETCH(int, milliseconds);
        // A wait that ends short by a fraction of a millisecond shows only now and then.
        for (int round = 0; round < kWaitRounds; ++round) {
            bool queuedRan = false;
            QMetaObject::invokeMethod(
                this, [&] { queuedRan = true; }, Qt::QueuedConnection);
            QElapsedTimer clock;
            clock.start();
            SamplePreview::waitWithEvents(milliseconds);
            const qint64 waited = clock.nsecsElapsed();
            QVERIFY2(
                waited >= milliseconds * kNanosecondsPerMillisecond, qPrintable(QString::number(waited)));
            QVERIFY(queuedRan);
        }
    }

    void waitWithEventsLetsHandlersRun()
    {
        // A click that arrives while a composition waits is handled in the middle of it.
        DesignerRun run;
        auto &ui = run.ui();
        int widthWhenHandled = 0;
        QMetaObject::invokeMethod(
            this,
            [&] {
                QTest::mouseClick(ui.按钮1, Qt::LeftButton);
                widthWhenHandled = run.program.state().buttonWidth;
            },
            Qt::QueuedConnection);
        run.program.preview().composeComboButton();
        QCOMPARE(widthWhenHandled, 105);
        QCOMPARE(ui.样本按钮->width(), 105);
    }

    void buttonStates_data()
    {
        QTest::addColumn<int>("widthItem");
        QTest::addColumn<int>("heightItem");
        QTest::addColumn<bool>("borderRemoval");
        QTest::addColumn<QSize>("canvas");
        QTest::newRow("layout size") << -1 << -1 << false << kButtonSize;
        QTest::newRow("layout size, border removed") << -1 << -1 << true << kButtonSize;
        QTest::newRow("218 x 48") << 11 << 9 << false << QSize(218, 48);
        QTest::newRow("218 x 48, border removed") << 11 << 9 << true << QSize(218, 48);
        QTest::newRow("32 x 16, border removed") << 0 << 0 << true << QSize(32, 16);
    }

    void buttonStates()
    {
        QFETCH(int, widthItem);
        QFETCH(int, heightItem);
        QFETCH(bool, borderRemoval);
        QFETCH(QSize, canvas);
        DesignerRun run;
        auto &ui = run.ui();
        if (widthItem >= 0)
            chooseItem(ui.组合框2, widthItem);
        if (heightItem >= 0)
            chooseItem(ui.组合框3, heightItem);
        if (borderRemoval)
            QTest::mouseClick(ui.选择框7, Qt::LeftButton);
        QCOMPARE(ui.选择框7->isChecked(), borderRemoval);
        run.compose();
        verifyStateOfSamplesAfterComposition(run);

        const int extra = borderRemoval ? 2 : 0;
        QCOMPARE(ui.样本按钮->size(), canvas + QSize(extra, extra));
        QVERIFY(!ui.样本按钮->isDown());
        QVERIFY(!ui.样本按钮->underMouse());
        const ButtonPictures expected = buttonPictures(ui.样本按钮);
        const QRect kept = borderRemoval ? QRect(QPoint(1, 1), canvas) : QRect(QPoint(0, 0), canvas);
        const QList<QImage> pictures { expected.normal.copy(kept), expected.pressed.copy(kept),
            expected.hot.copy(kept), expected.disabled.copy(kept) };
        const QList<Canvas *> canvases { ui.画板1, ui.画板2, ui.画板3, ui.画板4 };
        for (int i = 0; i < canvases.size(); ++i) {
            QCOMPARE(canvases[i]->size(), canvas);
            QVERIFY2(canvases[i]->pixels() == pictures[i], qPrintable(canvases[i]->objectName()));
        }
        verifyPairwiseDifferent(canvases, QStringLiteral("button"));
        if (borderRemoval) {
            // The frame left out is really the button's outermost ring: the full picture differs.
            QVERIFY(ui.画板1->pixels() != expected.normal.copy(QRect(QPoint(0, 0), canvas)));
        }
    }

    void latestCompositionShows()
    {
        DesignerRun run;
        auto &ui = run.ui();
        chooseItem(ui.组合框2, 11);
        run.compose();
        ui.编辑框1->setText(QStringLiteral("Go"));
        chooseItem(ui.组合框2, 2);
        QTest::mouseClick(ui.选择框7, Qt::LeftButton);
        run.compose();
        const QImage normal = picture(ui.样本按钮).copy(1, 1, 64, 24);
        QCOMPARE(ui.画板1->size(), QSize(64, 24));
        QCOMPARE(shown(ui.画板1), normal);
    }

    void comboButton_data()
    {
        QTest::addColumn<int>("widthItem");
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<QSize>("canvas");
        QTest::newRow("15") << 0 << 0 << QSize(15, 20);
        QTest::newRow("16 (layout)") << 1 << 0 << QSize(16, 20);
        QTest::newRow("17") << 2 << 0 << QSize(17, 20);
        QTest::newRow("18, one column beyond the box") << 3 << 0 << QSize(18, 20);
        QTest::newRow("font 30 gives 37 high") << 1 << 30 << QSize(16, 37);
        QTest::newRow("font 5 gives 15 high") << 3 << 5 << QSize(18, 15);
    }

    void comboButton()
    {
        QFETCH(int, widthItem);
        QFETCH(int, fontSize);
        QFETCH(QSize, canvas);
        DesignerRun run;
        auto &ui = run.ui();
        ui.组合框4->setCurrentIndex(widthItem);
        if (fontSize) {
            run.dialogs.fontAnswers = { FontChoice { QString(), fontSize } };
            QTest::mouseClick(ui.按钮8, Qt::LeftButton);
        }
        run.compose();
        verifyStateOfSamplesAfterComposition(run);
        QCOMPARE(ui.组合框1->width(), 46);
        const int height = ui.组合框1->height();
        const QList<QImage> expected = comboPictures(ui.组合框1, canvas.width());
        const QList<Canvas *> canvases { ui.画板5, ui.画板6, ui.画板7 };
        for (int i = 0; i < canvases.size(); ++i) {
            QCOMPARE(canvases[i]->size(), canvas);
            QCOMPARE(canvases[i]->pixels().size(), QSize(canvas.width(), height));
            QVERIFY2(canvases[i]->pixels() == expected[i], qPrintable(canvases[i]->objectName()));
        }
        verifyPairwiseDifferent(canvases, QStringLiteral("drop button"));
        if (canvas.width() == 18) {
            // Column 46 lies beyond the 46-pixel box: the scratch canvas's white.
            for (int y = 0; y < height; ++y)
                QCOMPARE(ui.画板5->pixels().pixel(17, y), qRgb(255, 255, 255));
        }
    }

    void checkBox_data()
    {
        QTest::addColumn<int>("sizeItem");
        QTest::addColumn<int>("side");
        QTest::newRow("13") << 0 << 13;
        QTest::newRow("14") << 1 << 14;
        QTest::newRow("15") << 2 << 15;
    }

    void checkBox()
    {
        QFETCH(int, sizeItem);
        QFETCH(int, side);
        DesignerRun run;
        auto &ui = run.ui();
        ui.组合框5->setCurrentIndex(sizeItem);
        ui.选择框4->setText(QStringLiteral("选中"));
        run.compose();
        verifyStateOfSamplesAfterComposition(run);
        QCOMPARE(ui.选择框4->size(), QSize(side, side));
        const QList<QImage> expected = checkPictures(ui.选择框4, side);
        const QList<Canvas *> canvases { ui.画板8, ui.画板9, ui.画板10 };
        for (int i = 0; i < canvases.size(); ++i) {
            QCOMPARE(canvases[i]->size(), QSize(side, side));
            QVERIFY2(canvases[i]->pixels() == expected[i], qPrintable(canvases[i]->objectName()));
        }
        verifyPairwiseDifferent(canvases, QStringLiteral("check box"));
    }

    void everyShippedSkinHasDistinctStates()
    {
        const QStringList skins = ProgramFolder::shippedSkinNames();
        QVERIFY(!skins.isEmpty());
        DesignerRun run(skins);
        auto &ui = run.ui();
        QCOMPARE(ui.列表框1->count(), skins.size());
        for (int row = 0; row < ui.列表框1->count(); ++row) {
            ui.列表框1->setCurrentRow(row);
            QCOMPARE(run.program.state().currentSkinIndex, row + 1);
            run.window().previewTimer()->setInterval(0);
            run.compose();
            const QString skin = ui.列表框1->item(row)->text();
            verifyPairwiseDifferent({ ui.画板1, ui.画板2, ui.画板3, ui.画板4 }, skin);
            verifyPairwiseDifferent({ ui.画板5, ui.画板6, ui.画板7 }, skin);
            verifyPairwiseDifferent({ ui.画板8, ui.画板9, ui.画板10 }, skin);
            verifyStateOfSamplesAfterComposition(run);
        }
    }

    void arrangePanels_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<int>("widthItem");
        QTest::addColumn<bool>("borderRemoval");
        QTest::addColumn<QSize>("leftPanel");
        QTest::addColumn<int>("listHeight");
        QTest::addColumn<QRect>("rightPanel");
        QTest::addColumn<QRect>("browser");
        QTest::newRow("798 x 570, 104 px") << QSize(798, 570) << -1 << false << QSize(435, 520) << 508
                                           << QRect(441, 5, 337, 520) << QRect(441, 6, 337, 518);
        QTest::newRow("798 x 570, border removed") << QSize(798, 570) << -1 << true << QSize(437, 520) << 508
                                                   << QRect(443, 5, 335, 520) << QRect(443, 6, 335, 518);
        QTest::newRow("900 x 600, 218 px") << QSize(900, 600) << 11 << false << QSize(549, 550) << 538
                                           << QRect(555, 5, 325, 550) << QRect(555, 6, 325, 548);
        QTest::newRow("too small for the panels") << QSize(300, 40) << -1 << false << QSize(435, 0) << 0
                                                  << QRect(441, 5, 0, 0) << QRect(441, 6, 0, 0);
    }

    void arrangePanels()
    {
        QFETCH(QSize, window);
        QFETCH(int, widthItem);
        QFETCH(bool, borderRemoval);
        QFETCH(QSize, leftPanel);
        QFETCH(int, listHeight);
        QFETCH(QRect, rightPanel);
        QFETCH(QRect, browser);
        DesignerRun run;
        auto &ui = run.ui();
        if (widthItem >= 0)
            chooseItem(ui.组合框2, widthItem);
        if (borderRemoval)
            QTest::mouseClick(ui.选择框7, Qt::LeftButton);
        run.window().setOuterSize(window);
        QCOMPARE(QSize(run.window().outerWidth(), run.window().outerHeight()), window);
        QCOMPARE(ui.标签1->geometry(), QRect(QPoint(5, 5), leftPanel));
        QCOMPARE(ui.列表框1->geometry(), QRect(11, 10, 120, listHeight));
        QCOMPARE(ui.标签8->geometry(), rightPanel);
        QCOMPARE(ui.WebBrowser1->geometry(), browser);
    }

    void borderClickMovesPanelsButKeepsPictures()
    {
        DesignerRun run;
        auto &ui = run.ui();
        run.window().setOuterSize({ 798, 570 });
        run.compose();
        QList<QImage> before;
        const QList<Canvas *> canvases { ui.画板1, ui.画板2, ui.画板3, ui.画板4, ui.画板5, ui.画板6, ui.画板7,
            ui.画板8, ui.画板9, ui.画板10 };
        for (Canvas *canvas : canvases)
            before << canvas->pixels();

        QTest::mouseClick(ui.选择框7, Qt::LeftButton);
        QVERIFY(ui.选择框7->isChecked());
        QCOMPARE(ui.样本按钮->geometry(), QRect(325, 214, 106, 26));
        QCOMPARE(ui.画板1->size(), kButtonSize);
        QCOMPARE(ui.标签8->x(), 443);
        QCOMPARE(ui.WebBrowser1->geometry(), QRect(443, 6, 335, 518));
        for (int i = 0; i < canvases.size(); ++i)
            QVERIFY2(canvases[i]->pixels() == before[i], qPrintable(canvases[i]->objectName()));

        QTest::mouseClick(ui.选择框7, Qt::LeftButton);
        QVERIFY(!ui.选择框7->isChecked());
        QCOMPARE(ui.样本按钮->geometry(), QRect(325, 214, 104, 24));
        QCOMPARE(ui.标签8->x(), 441);
        QCOMPARE(ui.WebBrowser1->geometry(), QRect(441, 6, 337, 518));
    }
};

QTEST_MAIN(TestSamplePreview)
#include "tst_samplepreview.moc"
