// What a user's keys do in the designer window: partly typed sizes in the two size boxes
// stay as typed whichever way the box is left, and Enter in an edit or combo box presses
// the default button. Real key events through the real controls.
#include "app/designerprogram.h"
#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"
#include "ui/designerwindow.h"

#include "support/designerrun.h"

#include <QtTest>


namespace {


enum class Leave { Tab, Enter, Return, FocusElsewhere };

void focusAndWait(QWidget *widget)
{
    widget->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(widget->hasFocus() || widget->isAncestorOf(QApplication::focusWidget()));
}

// Keys go where the application sends them: to the focus widget.
void keyToFocus(Qt::Key key)
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, key);
}

} // namespace

Q_DECLARE_METATYPE(Leave)

class TestSizeBoxKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    void partlyTypedSizeStaysAsTyped_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Leave>("leave");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        // Out of range: nothing changes, however the box is left.
        for (const auto &[name, leave] :
            { std::pair { "Tab", Leave::Tab }, std::pair { "Enter", Leave::Enter },
                std::pair { "Return", Leave::Return }, std::pair { "focus", Leave::FocusElsewhere } }) {
            QTest::addRow("width 2 %s", name) << "组合框2"
                                              << "2" << leave << 104 << 24;
            QTest::addRow("width 1 %s", name) << "组合框2"
                                              << "1" << leave << 104 << 24;
            QTest::addRow("width 21 %s", name) << "组合框2"
                                               << "21" << leave << 104 << 24;
            QTest::addRow("height 4 %s", name) << "组合框3"
                                               << "4" << leave << 104 << 24;
            QTest::addRow("height 1 %s", name) << "组合框3"
                                               << "1" << leave << 104 << 24;
        }
        // In range: the typed value, never a longer list item that starts with it.
        QTest::newRow("width 40 Tab") << "组合框2"
                                      << "40" << Leave::Tab << 40 << 24;
        QTest::newRow("width 19 then 0 is 190 on Enter") << "组合框2"
                                                         << "190" << Leave::Enter << 190 << 24;
        QTest::newRow("height 20 focus") << "组合框3"
                                         << "20" << Leave::FocusElsewhere << 104 << 20;
        QTest::newRow("height 3 then 2 is 32 on Return") << "组合框3"
                                                         << "32" << Leave::Return << 104 << 32;
        QTest::newRow("listed width typed whole") << "组合框2"
                                                  << "218" << Leave::Enter << 218 << 24;
    }

    void partlyTypedSizeStaysAsTyped()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(Leave, leave);
        QFETCH(int, width);
        QFETCH(int, height);
        DesignerRun run;
        QWidget &window = run.program.window();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *combo = window.findChild<QComboBox *>(box);
        QVERIFY(combo);
        focusAndWait(combo);
        combo->lineEdit()->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), typed);
        switch (leave) {
        case Leave::Tab:
            keyToFocus(Qt::Key_Tab);
            break;
        case Leave::Enter:
            keyToFocus(Qt::Key_Enter);
            break;
        case Leave::Return:
            keyToFocus(Qt::Key_Return);
            break;
        case Leave::FocusElsewhere:
            focusAndWait(run.ui().编辑框2);
            break;
        }
        QCoreApplication::processEvents();
        QCOMPARE(combo->currentText(), typed);
        QCOMPARE(run.program.state().buttonWidth, width);
        QCOMPARE(run.program.state().buttonHeight, height);
        QCOMPARE(run.ui().样本按钮->size(), QSize(width, height));
        QCOMPARE(run.ui().画板1->size(), QSize(width, height));
    }

    void enterPressesTheDefaultButton_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("button text box, Return") << "编辑框1" << Qt::Key_Return;
        QTest::newRow("button text box, Enter") << "编辑框1" << Qt::Key_Enter;
        QTest::newRow("font description box") << "编辑框2" << Qt::Key_Return;
        QTest::newRow("width box") << "组合框2" << Qt::Key_Return;
        QTest::newRow("height box") << "组合框3" << Qt::Key_Enter;
        QTest::newRow("drop-button width list") << "组合框4" << Qt::Key_Return;
        QTest::newRow("output format list") << "组合框6" << Qt::Key_Return;
    }

    void enterPressesTheDefaultButton()
    {
        QFETCH(QString, control);
        QFETCH(Qt::Key, key);
        DesignerRun run;
        QWidget &window = run.program.window();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *widget = window.findChild<QWidget *>(control);
        QVERIFY(widget);
        QVERIFY(run.ui().确认制作按钮->isDefault());
        QSignalSpy confirmed(run.ui().确认制作按钮, &QPushButton::clicked);
        const QImage before = run.ui().画板1->grab().toImage();
        focusAndWait(widget);
        keyToFocus(key);
        QCOMPARE(confirmed.count(), 1);
        // The confirm button's own work ran: the state canvases now hold the preview.
        QVERIFY(run.ui().画板1->grab().toImage() != before);
        QCOMPARE(run.program.state().buttonWidth, 104);
        QCOMPARE(run.program.state().buttonHeight, 24);
    }
};

QTEST_MAIN(TestSizeBoxKeys)
#include "tst_sizeboxkeys.moc"
