// The setting controls driven the way a user drives them: typed and listed sizes, the
// steppers and their bounds, the button text and its placeholder, the two font buttons and
// the option boxes whose state is echoed in the samples (mouse only, never the keyboard).
#include "app/designerprogram.h"
#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"
#include "render/samplepreview.h"
#include "ui/designerwindow.h"

#include "support/designerrun.h"

#include <QtTest>

#include <limits>

using quillet::app::DesignerProgram;
using quillet::form::Canvas;
using FontChoice = quillet::form::Dialogs::FontChoice;

namespace {

const QString kPlaceholder = QStringLiteral("输入按钮文字");
const QString kChecked = QStringLiteral("选中");
const QString kUnchecked = QStringLiteral("未选");
constexpr int kLayoutButtonWidth = 104;
constexpr int kLayoutButtonHeight = 24;
constexpr int kLayoutComboHeight = 32;
constexpr int kLayoutComboCanvasHeight = 20;


// Records every size the watched widget is given, in order.
class ResizeRecorder : public QObject
{
public:
    explicit ResizeRecorder(QWidget *watched) { watched->installEventFilter(this); }
    QList<int> widths;
    QList<int> heights;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize) {
            const QSize size = static_cast<QResizeEvent *>(event)->size();
            widths.append(size.width());
            heights.append(size.height());
        }
        return false;
    }
};

// Key by key, also for characters QTest::keyClicks cannot send.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

void typeInto(QComboBox *box, const QString &text)
{
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), text);
}

void chooseItem(QComboBox *box, int index)
{
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

QList<Canvas *> buttonCanvases(DesignerRun &run)
{
    auto &ui = run.ui();
    return { ui.画板1, ui.画板2, ui.画板3, ui.画板4 };
}

void verifyButtonGeometry(DesignerRun &run, int canvasWidth, int canvasHeight, int sampleWidth, int sampleHeight)
{
    auto &ui = run.ui();
    QCOMPARE(ui.样本按钮->size(), QSize(sampleWidth, sampleHeight));
    QCOMPARE(ui.样本按钮->pos(), QPoint(325, 214));
    for (Canvas *canvas : buttonCanvases(run))
        QCOMPARE(canvas->size(), QSize(canvasWidth, canvasHeight));
}

} // namespace

class TestDesignerControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    void typedWidth_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("borderRemoval");
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<int>>("sampleWidths");
        QTest::newRow("31 is too small")
            << QStringLiteral("31") << false << kLayoutButtonWidth << QList<int> {};
        QTest::newRow("32 is taken") << QStringLiteral("32") << false << 32 << QList<int> { 32 };
        QTest::newRow("100.9 is truncated") << QStringLiteral("100.9") << false << 100 << QList<int> { 100 };
        QTest::newRow("letters") << QStringLiteral("abc") << false << kLayoutButtonWidth << QList<int> {};
        QTest::newRow("400 applies 40 on the way")
            << QStringLiteral("400") << false << 400 << QList<int> { 40, 400 };
        QTest::newRow("31.00000001 is within tolerance")
            << QStringLiteral("31.00000001") << false << kLayoutButtonWidth << QList<int> {};
        QTest::newRow("31.5 passes") << QStringLiteral("31.5") << false << 31 << QList<int> { 31 };
        QTest::newRow("32 with border removal") << QStringLiteral("32") << true << 32 << QList<int> { 34 };
    }

    void typedWidth()
    {
        QFETCH(QString, typed);
        QFETCH(bool, borderRemoval);
        QFETCH(int, width);
        QFETCH(QList<int>, sampleWidths);
        DesignerRun run;
        auto &ui = run.ui();
        if (borderRemoval)
            QTest::mouseClick(ui.选择框7, Qt::LeftButton);
        ResizeRecorder recorder(ui.样本按钮);
        typeInto(ui.组合框2, typed);

        QCOMPARE(recorder.widths, sampleWidths);
        QCOMPARE(run.program.state().buttonWidth, width);
        QCOMPARE(ui.组合框2->currentText(), typed);
        const int extra = borderRemoval ? 2 : 0;
        verifyButtonGeometry(run, width, kLayoutButtonHeight, width + extra, kLayoutButtonHeight + extra);
        // The left panel follows the sample's right edge.
        QCOMPARE(ui.标签1->width(), 325 + width + extra + 6);
    }

    void typedHeight_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("height");
        QTest::newRow("16") << QStringLiteral("16") << 16;
        QTest::newRow("48") << QStringLiteral("48") << 48;
        QTest::newRow("15") << QStringLiteral("15") << kLayoutButtonHeight;
        QTest::newRow("49") << QStringLiteral("49") << kLayoutButtonHeight;
        QTest::newRow("15.5 below the stepper bound") << QStringLiteral("15.5") << 15;
        QTest::newRow("48.9") << QStringLiteral("48.9") << 48;
        QTest::newRow("15.00000001 within tolerance of 15")
            << QStringLiteral("15.00000001") << kLayoutButtonHeight;
        QTest::newRow("letters") << QStringLiteral("tall") << kLayoutButtonHeight;
        QTest::newRow("100") << QStringLiteral("100") << kLayoutButtonHeight;
        QTest::newRow("negative") << QStringLiteral("-20") << kLayoutButtonHeight;
    }

    void typedHeight()
    {
        QFETCH(QString, typed);
        QFETCH(int, height);
        DesignerRun run;
        auto &ui = run.ui();
        typeInto(ui.组合框3, typed);
        QCOMPARE(run.program.state().buttonHeight, height);
        QCOMPARE(ui.组合框3->currentText(), typed);
        verifyButtonGeometry(run, kLayoutButtonWidth, height, kLayoutButtonWidth, height);
    }

    void typedThenEnter_data()
    {
        QTest::addColumn<bool>("widthBox");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QSize>("size");
        QTest::newRow("width 20") << true << QStringLiteral("20") << QSize(104, 24);
        QTest::newRow("width letters") << true << QStringLiteral("wide") << QSize(104, 24);
        QTest::newRow("width -50") << true << QStringLiteral("-50") << QSize(104, 24);
        QTest::newRow("width 64, a listed item") << true << QStringLiteral("64") << QSize(64, 24);
        QTest::newRow("height 100") << false << QStringLiteral("100") << QSize(104, 24);
        QTest::newRow("height 8") << false << QStringLiteral("8") << QSize(104, 24);
        QTest::newRow("height 30") << false << QStringLiteral("30") << QSize(104, 30);
    }

    void typedThenEnter()
    {
        // Enter ends the typing; it is no list choice, so it must not get round the limits
        // for typed sizes nor add the text to the list.
        QFETCH(bool, widthBox);
        QFETCH(QString, typed);
        QFETCH(QSize, size);
        DesignerRun run;
        auto &ui = run.ui();
        QComboBox *box = widthBox ? ui.组合框2 : ui.组合框3;
        const int items = box->count();
        typeInto(box, typed);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(QSize(run.program.state().buttonWidth, run.program.state().buttonHeight), size);
        verifyButtonGeometry(run, size.width(), size.height(), size.width(), size.height());
        QCOMPARE(box->count(), items);
    }

    void listedSize_data()
    {
        QTest::addColumn<bool>("widthBox");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("borderRemoval");
        QTest::addColumn<QSize>("canvas");
        QTest::addColumn<QSize>("sample");
        QTest::newRow("218 wide") << true << 11 << false << QSize(218, 24) << QSize(218, 24);
        QTest::newRow("218 wide, border removed") << true << 11 << true << QSize(218, 24) << QSize(220, 26);
        QTest::newRow("32 wide") << true << 0 << false << QSize(32, 24) << QSize(32, 24);
        QTest::newRow("48 high") << false << 9 << false << QSize(104, 48) << QSize(104, 48);
        QTest::newRow("16 high, border removed") << false << 0 << true << QSize(104, 16) << QSize(106, 18);
    }

    void listedSize()
    {
        QFETCH(bool, widthBox);
        QFETCH(int, index);
        QFETCH(bool, borderRemoval);
        QFETCH(QSize, canvas);
        QFETCH(QSize, sample);
        DesignerRun run;
        auto &ui = run.ui();
        if (borderRemoval)
            QTest::mouseClick(ui.选择框7, Qt::LeftButton);
        chooseItem(widthBox ? ui.组合框2 : ui.组合框3, index);
        QCOMPARE(QSize(run.program.state().buttonWidth, run.program.state().buttonHeight), canvas);
        verifyButtonGeometry(run, canvas.width(), canvas.height(), sample.width(), sample.height());
    }

    void heightSteppers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("boxText");
        QTest::newRow("24 up") << QString() << true << 1 << 25 << QStringLiteral("25");
        QTest::newRow("24 down") << QString() << false << 1 << 23 << QStringLiteral("23");
        QTest::newRow("up stops at 48") << QString() << true << 40 << 48 << QStringLiteral("48");
        QTest::newRow("down stops at 16") << QString() << false << 40 << 16 << QStringLiteral("16");
        // At a bound the click rewrites nothing, not even the box.
        QTest::newRow("+ at 48 keeps box text")
            << QStringLiteral("48.7") << true << 1 << 48 << QStringLiteral("48.7");
        QTest::newRow("- at 16 keeps box text")
            << QStringLiteral("16.2") << false << 1 << 16 << QStringLiteral("16.2");
        QTest::newRow("- at 15 does nothing")
            << QStringLiteral("15.5") << false << 1 << 15 << QStringLiteral("15.5");
        QTest::newRow("+ at 15 gives 16")
            << QStringLiteral("15.5") << true << 1 << 16 << QStringLiteral("16");
    }

    void heightSteppers()
    {
        QFETCH(QString, typed);
        QFETCH(bool, up);
        QFETCH(int, clicks);
        QFETCH(int, height);
        QFETCH(QString, boxText);
        DesignerRun run;
        auto &ui = run.ui();
        if (!typed.isEmpty())
            typeInto(ui.组合框3, typed);
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(up ? ui.按钮3 : ui.按钮4, Qt::LeftButton);
        QCOMPARE(run.program.state().buttonHeight, height);
        QCOMPARE(ui.组合框3->currentText(), boxText);
        verifyButtonGeometry(run, kLayoutButtonWidth, height, kLayoutButtonWidth, height);
    }

    void widthSteppersHaveNoBound()
    {
        DesignerRun run;
        auto &ui = run.ui();
        chooseItem(ui.组合框2, 0);
        QCOMPARE(run.program.state().buttonWidth, 32);
        for (int i = 0; i < 32; ++i)
            QTest::mouseClick(ui.按钮2, Qt::LeftButton);
        QCOMPARE(run.program.state().buttonWidth, 0);
        QCOMPARE(ui.组合框2->currentText(), QStringLiteral("0"));
        // 1 was the last width applied; 0 is skipped.
        verifyButtonGeometry(run, 1, kLayoutButtonHeight, 1, kLayoutButtonHeight);

        // Below zero the box follows, nothing is given a negative width.
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(ui.按钮2, Qt::LeftButton);
        QCOMPARE(run.program.state().buttonWidth, -3);
        QCOMPARE(ui.组合框2->currentText(), QStringLiteral("-3"));
        QTest::mouseClick(ui.选择框7, Qt::LeftButton);
        verifyButtonGeometry(run, 1, kLayoutButtonHeight, 1, kLayoutButtonHeight + 2);
        QCOMPARE(ui.标签1->width(), 325 + 1 + 6);
        // A composition at that size still works and keeps the program sound.
        QTest::mouseClick(ui.确认制作按钮, Qt::LeftButton);
        QVERIFY(!ui.画板1->pixels().isNull());

        // Back up through zero: the first positive width is applied again.
        for (int i = 0; i < 5; ++i)
            QTest::mouseClick(ui.按钮1, Qt::LeftButton);
        QCOMPARE(run.program.state().buttonWidth, 2);
        verifyButtonGeometry(run, 2, kLayoutButtonHeight, 4, kLayoutButtonHeight + 2);
    }

    void hugeTypedWidthIsNotAttempted()
    {
        DesignerRun run;
        auto &ui = run.ui();
        ResizeRecorder recorder(ui.样本按钮);
        typeInto(ui.组合框2, QStringLiteral("1000000000000"));
        // Only the prefixes of a plausible size were applied on the way.
        QCOMPARE(recorder.widths, (QList<int> { 100, 1000, 10000 }));
        QCOMPARE(ui.样本按钮->width(), 10000);
        QVERIFY(run.program.state().buttonWidth > 10000);
        QCOMPARE(ui.组合框2->currentText(), QStringLiteral("1000000000000"));

        // The stepper saturates instead of wrapping round to a negative width.
        QTest::mouseClick(ui.按钮1, Qt::LeftButton);
        QVERIFY(run.program.state().buttonWidth > 10000);
        QCOMPARE(ui.组合框2->currentText(), QString::number(run.program.state().buttonWidth));
        QCOMPARE(ui.样本按钮->width(), 10000);

        QTest::mouseClick(ui.确认制作按钮, Qt::LeftButton);
        QCOMPARE(ui.画板1->pixels().size(), QSize(10000, kLayoutButtonHeight));
        typeInto(ui.组合框2, QStringLiteral("64"));
        verifyButtonGeometry(run, 64, kLayoutButtonHeight, 64, kLayoutButtonHeight);
    }

    void placeholderClearedByMousePress()
    {
        DesignerRun run;
        auto &ui = run.ui();
        QCOMPARE(ui.编辑框1->text(), kPlaceholder);
        QCOMPARE(ui.样本按钮->text(), kPlaceholder);
        QTest::mouseClick(ui.编辑框1, Qt::RightButton);
        QCOMPARE(ui.编辑框1->text(), kPlaceholder);
        QTest::mouseClick(ui.编辑框1, Qt::LeftButton);
        QCOMPARE(ui.编辑框1->text(), QString());
        QCOMPARE(ui.样本按钮->text(), kPlaceholder);

        QStringList captions;
        connect(ui.编辑框1, &QLineEdit::textChanged, this, [&] { captions << ui.样本按钮->text(); });
        typeText(ui.编辑框1, QStringLiteral("OK下载"));
        QCOMPARE(captions,
            (QStringList { QStringLiteral("O"), QStringLiteral("OK"), QStringLiteral("OK下"),
                QStringLiteral("OK下载") }));

        // Deleting everything leaves the last non-empty caption.
        QTest::keyClick(ui.编辑框1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(ui.编辑框1, Qt::Key_Delete);
        QCOMPARE(ui.编辑框1->text(), QString());
        QCOMPARE(ui.样本按钮->text(), QStringLiteral("OK下载"));

        // Only the exact placeholder is cleared by a press.
        typeText(ui.编辑框1, kPlaceholder + u'!');
        QTest::mouseClick(ui.编辑框1, Qt::LeftButton);
        QCOMPARE(ui.编辑框1->text(), kPlaceholder + u'!');
        QCOMPARE(ui.样本按钮->text(), kPlaceholder + u'!');
    }

    void placeholderKeptWhenReachedByTab()
    {
        DesignerRun run;
        auto &ui = run.ui();
        QWidget &window = run.program.window();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ui.按钮6->setFocus(Qt::OtherFocusReason);
        for (int i = 0; i < 60 && QApplication::focusWidget() != ui.编辑框1; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), ui.编辑框1);
        QCOMPARE(ui.编辑框1->text(), kPlaceholder);
        QCOMPARE(ui.样本按钮->text(), kPlaceholder);
        // Tab selects the whole text, so typing replaces it.
        QTest::keyClicks(ui.编辑框1, QStringLiteral("Go"));
        QCOMPARE(ui.编辑框1->text(), QStringLiteral("Go"));
        QCOMPARE(ui.样本按钮->text(), QStringLiteral("Go"));
    }

    void optionEcho_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("comboText");
        QTest::newRow("选择框2 -> 组合框1") << QStringLiteral("选择框2") << true;
        QTest::newRow("选择框3 -> 选择框4") << QStringLiteral("选择框3") << false;
    }

    void optionEcho()
    {
        QFETCH(QString, option);
        QFETCH(bool, comboText);
        DesignerRun run;
        auto &ui = run.ui();
        auto *box = run.program.window().findChild<QCheckBox *>(option);
        QVERIFY(box);
        const auto echo = [&] { return comboText ? ui.组合框1->currentText() : ui.选择框4->text(); };
        QCOMPARE(echo(), kUnchecked);

        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(box->isChecked());
        QCOMPARE(echo(), kChecked);
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!box->isChecked());
        QCOMPARE(echo(), kUnchecked);

        // A press that is dragged off the box is no click: no toggle, no echo.
        QTest::mousePress(box, Qt::LeftButton);
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(box->width() + 40, box->height() + 40));
        QVERIFY(!box->isChecked());
        QCOMPARE(echo(), kUnchecked);

        // The keyboard toggles the box but runs no echo.
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClick(box, Qt::Key_Space);
        QVERIFY(box->isChecked());
        QCOMPARE(echo(), kUnchecked);
        // The next mouse click acts for the state it produces.
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!box->isChecked());
        QCOMPARE(echo(), kUnchecked);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(echo(), kChecked);
    }

    void borderRemovalByKeyboardWaitsForNextSizeChange()
    {
        DesignerRun run;
        auto &ui = run.ui();
        ui.选择框7->setFocus(Qt::TabFocusReason);
        QTest::keyClick(ui.选择框7, Qt::Key_Space);
        QVERIFY(ui.选择框7->isChecked());
        verifyButtonGeometry(
            run, kLayoutButtonWidth, kLayoutButtonHeight, kLayoutButtonWidth, kLayoutButtonHeight);
        // The width follows the box at the next width change, the height at the next height change.
        QTest::mouseClick(ui.按钮1, Qt::LeftButton);
        verifyButtonGeometry(run, 105, kLayoutButtonHeight, 107, kLayoutButtonHeight);
        QTest::mouseClick(ui.按钮3, Qt::LeftButton);
        verifyButtonGeometry(run, 105, 25, 107, 27);
        // The mouse click now sizes for the cleared state.
        QTest::mouseClick(ui.选择框7, Qt::LeftButton);
        QVERIFY(!ui.选择框7->isChecked());
        verifyButtonGeometry(run, 105, 25, 105, 25);
    }

    void comboFont_data()
    {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("height");
        QTest::newRow("30 capped at 22") << 30 << 22 << 37;
        QTest::newRow("23 capped at 22") << 23 << 22 << 37;
        QTest::newRow("22") << 22 << 22 << 37;
        QTest::newRow("18") << 18 << 18 << 32;
        QTest::newRow("9") << 9 << 9 << 20;
        QTest::newRow("5") << 5 << 5 << 15;
        QTest::newRow("10 not in the table") << 10 << 10 << 0;
        QTest::newRow("21 not in the table") << 21 << 21 << 0;
    }

    void comboFont()
    {
        QFETCH(int, chosen);
        QFETCH(int, stored);
        QFETCH(int, height);
        DesignerRun run;
        auto &ui = run.ui();
        run.dialogs.fontAnswers = { FontChoice { QStringLiteral("Ignored Face"), chosen } };
        QTest::mouseClick(ui.按钮8, Qt::LeftButton);
        QCOMPARE(run.dialogs.fontRequests, 1);
        QCOMPARE(ui.组合框1->font().pointSize(), stored);
        QVERIFY(ui.组合框1->font().family() != QStringLiteral("Ignored Face"));
        const int comboHeight = height ? height : kLayoutComboHeight;
        const int canvasHeight = height ? height : kLayoutComboCanvasHeight;
        QCOMPARE(ui.组合框1->size(), QSize(46, comboHeight));
        for (Canvas *canvas : { ui.画板5, ui.画板6, ui.画板7 }) {
            QCOMPARE(canvas->size(), QSize(16, canvasHeight));
            // The drop-button pictures were taken right away, at the combo's height.
            QCOMPARE(canvas->pixels().size(), QSize(16, comboHeight));
        }
        QVERIFY(!ui.组合框1->isEnabled());
        // Nothing else was composed.
        QVERIFY(ui.画板1->pixels().isNull());
        QVERIFY(ui.画板8->pixels().isNull());
    }

    void comboFontCancelled()
    {
        DesignerRun run;
        auto &ui = run.ui();
        const QFont before = ui.组合框1->font();
        QTest::mouseClick(ui.按钮8, Qt::LeftButton);
        QCOMPARE(run.dialogs.fontRequests, 1);
        QCOMPARE(ui.组合框1->font(), before);
        QCOMPARE(ui.组合框1->height(), kLayoutComboHeight);
        QCOMPARE(ui.画板5->height(), kLayoutComboCanvasHeight);
        QVERIFY(ui.画板5->pixels().isNull());
    }

    void sampleFont_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("shownFace");
        QTest::addColumn<int>("shownSize");
        QTest::newRow("cancelled") << QString() << 0 << QStringLiteral("宋体") << 9;
        QTest::newRow("size only") << QString() << 14 << QStringLiteral("宋体") << 14;
        QTest::newRow("face only") << QStringLiteral("DejaVu Sans") << 0 << QStringLiteral("DejaVu Sans")
                                   << 9;
        QTest::newRow("both") << QStringLiteral("DejaVu Sans") << 16 << QStringLiteral("DejaVu Sans") << 16;
    }

    void sampleFont()
    {
        QFETCH(QString, face);
        QFETCH(int, size);
        QFETCH(QString, shownFace);
        QFETCH(int, shownSize);
        DesignerRun run;
        auto &ui = run.ui();
        QCOMPARE(ui.编辑框2->text(), QStringLiteral("宋体 9"));
        run.dialogs.fontAnswers = { FontChoice { face, size } };
        QTest::mouseClick(ui.按钮6, Qt::LeftButton);
        QCOMPARE(run.dialogs.fontRequests, 1);
        QCOMPARE(ui.样本按钮->font().family(), shownFace);
        QCOMPARE(ui.样本按钮->font().pointSize(), shownSize);
        QCOMPARE(ui.编辑框2->text(), shownFace + u' ' + QString::number(shownSize));
        // The font changes the live sample only, never its size or the canvases.
        verifyButtonGeometry(
            run, kLayoutButtonWidth, kLayoutButtonHeight, kLayoutButtonWidth, kLayoutButtonHeight);
        QVERIFY(ui.画板1->pixels().isNull());
    }
};

QTEST_MAIN(TestDesignerControls)
#include "tst_designercontrols.moc"
