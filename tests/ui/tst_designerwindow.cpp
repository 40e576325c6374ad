// The designer window and the About window as laid out: every control's name, class,
// place, size, caption, items, item values, state, font and stacking.
#include "ui/aboutwindow.h"
#include "ui/designerwindow.h"

#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"

#include "support/designerrun.h"

#include <QWindow>
#include <QtTest>

using quillet::ui::AboutWindow;
using quillet::ui::DesignerWindow;

class TestDesignerWindow : public QObject
{
    Q_OBJECT

private:
    static QWidget *control(QWidget &window, const QString &name)
    {
        return window.findChild<QWidget *>(name);
    }
    static int stackIndex(QWidget *widget)
    {
        return int(widget->parentWidget()->children().indexOf(widget));
    }

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("className");
        QTest::addColumn<QRect>("geometry");

    QTest::newRow("标签1") << QStringLiteral("标签1") << QByteArray("QLabel") << QRect(5, 5, 435, 531);
    QTest::newRow("标签9") << QStringLiteral("标签9") << QByteArray("QLabel") << QRect(133, 11, 134, 182);
    QTest::newRow("标签8") << QStringLiteral("标签8") << QByteArray("QLabel") << QRect(442, 5, 345, 531);
    QTest::newRow("列表框1") << QStringLiteral("列表框1") << QByteArray("QListWidget") << QRect(11, 10, 120, 522);
    QTest::newRow("标签6") << QStringLiteral("标签6") << QByteArray("QLabel") << QRect(139, 20, 36, 16);
    QTest::newRow("按钮1") << QStringLiteral("按钮1") << QByteArray("QPushButton") << QRect(184, 16, 16, 11);
    QTest::newRow("按钮2") << QStringLiteral("按钮2") << QByteArray("QPushButton") << QRect(184, 30, 16, 11);
    QTest::newRow("组合框2") << QStringLiteral("组合框2") << QByteArray("QComboBox") << QRect(205, 16, 55, 24);
    QTest::newRow("标签7") << QStringLiteral("标签7") << QByteArray("QLabel") << QRect(140, 59, 36, 16);
    QTest::newRow("按钮3") << QStringLiteral("按钮3") << QByteArray("QPushButton") << QRect(184, 54, 16, 11);
    QTest::newRow("按钮4") << QStringLiteral("按钮4") << QByteArray("QPushButton") << QRect(184, 68, 16, 11);
    QTest::newRow("组合框3") << QStringLiteral("组合框3") << QByteArray("QComboBox") << QRect(205, 54, 55, 24);
    QTest::newRow("按钮6") << QStringLiteral("按钮6") << QByteArray("QPushButton") << QRect(139, 92, 39, 24);
    QTest::newRow("编辑框2") << QStringLiteral("编辑框2") << QByteArray("QLineEdit") << QRect(184, 92, 75, 24);
    QTest::newRow("画板a") << QStringLiteral("画板a") << QByteArray("quillet::form::Canvas") << QRect(137, 124, 126, 32);
    QTest::newRow("标签16") << QStringLiteral("标签16") << QByteArray("QLabel") << QRect(140, 131, 52, 20);
    QTest::newRow("编辑框1") << QStringLiteral("编辑框1") << QByteArray("QLineEdit") << QRect(138, 164, 122, 24);
    QTest::newRow("选择框1") << QStringLiteral("选择框1") << QByteArray("QCheckBox") << QRect(136, 215, 120, 24);
    QTest::newRow("选择框7") << QStringLiteral("选择框7") << QByteArray("QCheckBox") << QRect(254, 215, 68, 24);
    QTest::newRow("选择框2") << QStringLiteral("选择框2") << QByteArray("QCheckBox") << QRect(135, 264, 130, 24);
    QTest::newRow("组合框4") << QStringLiteral("组合框4") << QByteArray("QComboBox") << QRect(249, 265, 36, 20);
    QTest::newRow("按钮8") << QStringLiteral("按钮8") << QByteArray("QPushButton") << QRect(289, 264, 32, 21);
    QTest::newRow("选择框3") << QStringLiteral("选择框3") << QByteArray("QCheckBox") << QRect(136, 348, 130, 16);
    QTest::newRow("组合框5") << QStringLiteral("组合框5") << QByteArray("QComboBox") << QRect(264, 345, 54, 20);
    QTest::newRow("选择框5") << QStringLiteral("选择框5") << QByteArray("QCheckBox") << QRect(137, 424, 104, 16);
    QTest::newRow("组合框6") << QStringLiteral("组合框6") << QByteArray("QComboBox") << QRect(242, 422, 112, 20);
    QTest::newRow("确认制作按钮") << QStringLiteral("确认制作按钮") << QByteArray("QPushButton") << QRect(136, 462, 88, 24);
    QTest::newRow("保存图片按钮") << QStringLiteral("保存图片按钮") << QByteArray("QPushButton") << QRect(241, 462, 88, 24);
    QTest::newRow("按钮5") << QStringLiteral("按钮5") << QByteArray("QPushButton") << QRect(136, 500, 88, 24);
    QTest::newRow("按钮7") << QStringLiteral("按钮7") << QByteArray("QPushButton") << QRect(241, 500, 88, 24);
    QTest::newRow("标签2") << QStringLiteral("标签2") << QByteArray("QLabel") << QRect(271, 13, 48, 24);
    QTest::newRow("画板1") << QStringLiteral("画板1") << QByteArray("quillet::form::Canvas") << QRect(325, 13, 104, 24);
    QTest::newRow("标签3") << QStringLiteral("标签3") << QByteArray("QLabel") << QRect(271, 62, 48, 24);
    QTest::newRow("画板2") << QStringLiteral("画板2") << QByteArray("quillet::form::Canvas") << QRect(325, 63, 104, 24);
    QTest::newRow("标签4") << QStringLiteral("标签4") << QByteArray("QLabel") << QRect(271, 114, 48, 24);
    QTest::newRow("画板3") << QStringLiteral("画板3") << QByteArray("quillet::form::Canvas") << QRect(325, 113, 104, 24);
    QTest::newRow("标签5") << QStringLiteral("标签5") << QByteArray("QLabel") << QRect(271, 164, 48, 24);
    QTest::newRow("画板4") << QStringLiteral("画板4") << QByteArray("quillet::form::Canvas") << QRect(325, 163, 104, 24);
    QTest::newRow("样本按钮") << QStringLiteral("样本按钮") << QByteArray("QPushButton") << QRect(325, 214, 104, 24);
    QTest::newRow("组合框1") << QStringLiteral("组合框1") << QByteArray("QComboBox") << QRect(325, 265, 46, 32);
    QTest::newRow("标签10") << QStringLiteral("标签10") << QByteArray("QLabel") << QRect(135, 304, 48, 24);
    QTest::newRow("画板5") << QStringLiteral("画板5") << QByteArray("quillet::form::Canvas") << QRect(185, 306, 16, 20);
    QTest::newRow("标签11") << QStringLiteral("标签11") << QByteArray("QLabel") << QRect(204, 304, 48, 24);
    QTest::newRow("画板6") << QStringLiteral("画板6") << QByteArray("quillet::form::Canvas") << QRect(253, 306, 16, 20);
    QTest::newRow("标签12") << QStringLiteral("标签12") << QByteArray("QLabel") << QRect(273, 304, 48, 24);
    QTest::newRow("画板7") << QStringLiteral("画板7") << QByteArray("quillet::form::Canvas") << QRect(325, 306, 16, 20);
    QTest::newRow("选择框4") << QStringLiteral("选择框4") << QByteArray("QCheckBox") << QRect(325, 348, 51, 13);
    QTest::newRow("标签13") << QStringLiteral("标签13") << QByteArray("QLabel") << QRect(136, 383, 48, 24);
    QTest::newRow("画板8") << QStringLiteral("画板8") << QByteArray("quillet::form::Canvas") << QRect(186, 388, 13, 13);
    QTest::newRow("标签14") << QStringLiteral("标签14") << QByteArray("QLabel") << QRect(204, 383, 48, 24);
    QTest::newRow("画板9") << QStringLiteral("画板9") << QByteArray("quillet::form::Canvas") << QRect(255, 388, 13, 13);
    QTest::newRow("标签15") << QStringLiteral("标签15") << QByteArray("QLabel") << QRect(274, 383, 48, 24);
    QTest::newRow("画板10") << QStringLiteral("画板10") << QByteArray("quillet::form::Canvas") << QRect(325, 388, 13, 13);
    QTest::newRow("WebBrowser1") << QStringLiteral("WebBrowser1") << QByteArray("quillet::browser::BrowserPanel") << QRect(443, 6, 176, 120);
    QTest::newRow("源画板") << QStringLiteral("源画板") << QByteArray("quillet::form::Canvas") << QRect(336, 499, 72, 24);
        QTest::newRow("颜色选择器1") << QStringLiteral("颜色选择器1") << QByteArray("quillet::form::ColourPicker")
                                 << QRect(67, 5, 56, 24);
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, className);
        QFETCH(QRect, geometry);
        DesignerWindow window;
        QWidget *widget = control(window, name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(QByteArray(widget->metaObject()->className()), className);
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->isEnabled(), name != QStringLiteral("组合框1"));
    }

    void captions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        const QList<QPair<const char *, const char *>> rows = {
            {"标签6", "按钮宽"}, {"按钮1", "+"}, {"按钮2", "-"}, {"标签7", "按钮高"}, {"按钮3", "+"}, {"按钮4", "-"},
            {"按钮6", "字体"}, {"编辑框2", ""}, {"标签16", "底色选择"}, {"编辑框1", "输入按钮文字"},
            {"选择框1", "输出按钮状态图片"}, {"选择框7", "去除边框"}, {"选择框2", "输出组合框钮图片"}, {"按钮8", "字体"},
            {"选择框3", "输出选择框状态图片"}, {"选择框5", "输出全窗口图片"}, {"确认制作按钮", "确认修改"},
            {"保存图片按钮", "保存图片"}, {"按钮5", "关于"}, {"按钮7", "帮助"}, {"标签2", "正常图片"},
            {"标签3", "按下图片"}, {"标签4", "点燃图片"}, {"标签5", "禁止图片"}, {"样本按钮", "输入按钮文字"},
            {"组合框1", "未选"}, {"标签10", "正常图片"}, {"标签11", "按下图片"}, {"标签12", "禁止图片"},
            {"选择框4", "未选"}, {"标签13", "正常图片"}, {"标签14", "选中图片"}, {"标签15", "禁止图片"},
            {"标签1", ""}, {"标签8", ""}, {"标签9", ""}, {"组合框2", ""}, {"组合框3", ""}};
        for (const auto &[name, caption] : rows)
            QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(caption);
    }

    void captions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        DesignerWindow window;
        QWidget *widget = control(window, name);
        QVERIFY(widget);
        QString shown;
        if (auto *label = qobject_cast<QLabel *>(widget))
            shown = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            shown = button->text();
        else if (auto *edit = qobject_cast<QLineEdit *>(widget))
            shown = edit->text();
        else if (auto *combo = qobject_cast<QComboBox *>(widget))
            shown = combo->currentText();
        QCOMPARE(shown, caption);
    }

    void items_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QList<int>>("values");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("editable");
        QTest::newRow("组合框2") << QStringLiteral("组合框2")
                              << QStringList{"32", "48", "64", "80", "96", "112", "128", "144", "160", "176", "192", "218"}
                              << QList<int>{} << -1 << true;
        QTest::newRow("组合框3") << QStringLiteral("组合框3")
                              << QStringList{"16", "18", "20", "22", "24", "28", "32", "36", "40", "48"} << QList<int>{}
                              << -1 << true;
        QTest::newRow("组合框4") << QStringLiteral("组合框4") << QStringList{"15", "16", "17", "18"}
                              << QList<int>{15, 16, 17, 18} << 1 << false;
        QTest::newRow("组合框5") << QStringLiteral("组合框5") << QStringList{"13*13", "14*14", "15*15"}
                              << QList<int>{13, 14, 15} << 0 << false;
        QTest::newRow("组合框6") << QStringLiteral("组合框6")
                              << QStringList{"输出BMP格式图片", "输出JPG格式图片", "输出GIF格式图片", "输出PNG格式图片"}
                              << QList<int>{} << 0 << false;
        QTest::newRow("组合框1") << QStringLiteral("组合框1") << QStringList{} << QList<int>{} << -1 << true;
    }

    void items()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, items);
        QFETCH(QList<int>, values);
        QFETCH(int, current);
        QFETCH(bool, editable);
        DesignerWindow window;
        auto *combo = window.findChild<QComboBox *>(name);
        QVERIFY(combo);
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        QCOMPARE(shown, items);
        for (int i = 0; i < values.size(); ++i)
            QCOMPARE(combo->itemData(i).toInt(), values[i]);
        QCOMPARE(combo->currentIndex(), current);
        QCOMPARE(combo->isEditable(), editable);
    }

    void fonts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pixels");
        for (const char *name : {"组合框2", "组合框3"})
            QTest::newRow(name) << QString::fromUtf8(name) << 16;
        for (const char *name : {"选择框3", "选择框5", "确认制作按钮", "保存图片按钮", "样本按钮", "组合框1"})
            QTest::newRow(name) << QString::fromUtf8(name) << 12;
    }

    void fonts()
    {
        QFETCH(QString, name);
        QFETCH(int, pixels);
        DesignerWindow window;
        QWidget *widget = control(window, name);
        QVERIFY(widget);
        const QFont font = widget->font();
        QCOMPARE(font.family(), QStringLiteral("宋体"));
        QCOMPARE(font.pointSize() * 96 / 72, pixels);
        QVERIFY(!font.bold() && !font.italic() && !font.underline());
        // The bitmap CJK face stands in for the name, so captions are crisp.
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("WenQuanYi Bitmap Song"));
    }

    void initialState()
    {
        DesignerWindow window;
        auto &ui = DesignerRun::layoutOf(window);
        QCOMPARE(window.windowTitle(), QStringLiteral(" Quillet 3.0     Pelorin"));
        QCOMPARE(window.size(), QSize(800, 570));
        QVERIFY(!window.windowIcon().isNull());
        QCOMPARE(window.windowIcon().availableSizes().size(), 5);
        const QList<QCheckBox *> boxes{ui.选择框1, ui.选择框2, ui.选择框3, ui.选择框4, ui.选择框5, ui.选择框7};
        for (QCheckBox *box : boxes)
            QCOMPARE(box->isChecked(), box == ui.选择框1);
        QVERIFY(ui.源画板->isHidden());
        QCOMPARE(ui.源画板->size(), QSize(72, 24));
        QCOMPARE(ui.列表框1->count(), 0);
        QCOMPARE(ui.列表框1->currentRow(), -1);
        QVERIFY(ui.确认制作按钮->isDefault());
        QCOMPARE(window.previewTimer()->interval(), 0);
        QCOMPARE(window.infoTimer()->interval(), 0);
        QVERIFY(!window.previewTimer()->isRunning());
        QCOMPARE(window.previewTimer()->objectName(), QStringLiteral("时钟1"));
        QCOMPARE(window.infoTimer()->objectName(), QStringLiteral("时钟2"));
        for (QLabel *frame : {ui.标签1, ui.标签8, ui.标签9}) {
            QCOMPARE(frame->frameShape(), QFrame::Panel);
            QCOMPARE(frame->frameShadow(), QFrame::Sunken);
        }
        QCOMPARE(ui.颜色选择器1->parentWidget(), static_cast<QWidget *>(ui.画板a));
        QCOMPARE(ui.画板1->backgroundColour(), QColor(Qt::white));
        QCOMPARE(ui.源画板->backgroundColour(), QColor(Qt::white));
    }

    void stacking_data()
    {
        QTest::addColumn<QString>("below");
        QTest::addColumn<QString>("above");
        const QStringList inLeftFrame{"列表框1", "标签6", "组合框2", "编辑框1", "选择框1", "组合框6", "样本按钮",
                                      "组合框1", "画板1", "画板10", "按钮7", "标签9", "画板a"};
        for (const QString &name : inLeftFrame)
            QTest::addRow("标签1<%s", qPrintable(name)) << QStringLiteral("标签1") << name;
        for (const char *name : {"标签6", "按钮1", "组合框2", "按钮6", "编辑框2", "画板a", "标签16", "编辑框1"})
            QTest::addRow("标签9<%s", name) << QStringLiteral("标签9") << QString::fromUtf8(name);
        QTest::newRow("画板a<标签16") << QStringLiteral("画板a") << QStringLiteral("标签16");
        QTest::newRow("选择框2<组合框4") << QStringLiteral("选择框2") << QStringLiteral("组合框4");
        QTest::newRow("选择框3<组合框5") << QStringLiteral("选择框3") << QStringLiteral("组合框5");
        QTest::newRow("选择框1<选择框7") << QStringLiteral("选择框1") << QStringLiteral("选择框7");
        QTest::newRow("标签8<WebBrowser1") << QStringLiteral("标签8") << QStringLiteral("WebBrowser1");
    }

    void stacking()
    {
        QFETCH(QString, below);
        QFETCH(QString, above);
        DesignerWindow window;
        QWidget *low = control(window, below);
        QWidget *high = control(window, above);
        QVERIFY(low && high);
        QVERIFY(stackIndex(low) < stackIndex(high));
        // The overlaps the stacking settles are real ones.
        QVERIFY(low->geometry().intersects(high->geometry()));
    }

    void aboutWindow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("className");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("标签1") << QStringLiteral("标签1") << QByteArray("QLabel") << QRect(8, 5, 248, 112);
        QTest::newRow("超级链接框1") << QStringLiteral("超级链接框1") << QByteArray("quillet::form::HyperLink")
                                 << QRect(16, 124, 224, 16);
        QTest::newRow("超级链接框2") << QStringLiteral("超级链接框2") << QByteArray("quillet::form::HyperLink")
                                 << QRect(19, 145, 214, 16);
    }

    void aboutWindow()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, className);
        QFETCH(QRect, geometry);
        AboutWindow about(QColor(10, 20, 30));
        QCOMPARE(about.windowTitle(), QStringLiteral(" 关于"));
        // 270 x 192 is the outer size; the client area is what the frame leaves of it.
        QCOMPARE(about.outerSize(), QSize(270, 192));
        QVERIFY(about.windowHandle());
        QCOMPARE(about.size(), QSize(270, 192).shrunkBy(about.windowHandle()->frameMargins()));
        QVERIFY(about.isModal());
        QWidget *widget = about.findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(QByteArray(widget->metaObject()->className()), className);
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->palette().color(QPalette::Window), QColor(10, 20, 30));
    }

    void aboutNotice()
    {
        AboutWindow about(Qt::gray);
        const QString expected = QString::fromUtf8("   本软件为免费软件，可自由传播和使用。\r\n\r\n"
                                                   "   窗口右边有一个IE浏览框，里边显示最新版\r\n\r\n"
                                                   "本、帮助、和官方网站的一些信息，也可能放\r\n\r\n"
                                                   "一些广告连接。\r\n\r\n"
                                                   "   欢迎提出使用意见并反馈，以望得到改进。\r\n\r\n");
        QCOMPARE(about.controls().标签1->text(), expected);
        // Every line, the first included, shows whole in the notice's width.
        const QFontMetrics metrics(about.controls().标签1->font());
        for (const QString &line : expected.split(QStringLiteral("\r\n")))
            QVERIFY2(metrics.horizontalAdvance(line) <= about.controls().标签1->width(), qPrintable(line));
        QCOMPARE(about.palette().color(QPalette::Window), QColor(Qt::gray));
        QCOMPARE(about.controls().超级链接框2->target(), AboutWindow::kMakerMail);
        QCOMPARE(quillet::form::HyperLink::targetUrl(AboutWindow::kMakerMail).scheme(), QStringLiteral("mailto"));
        QCOMPARE(quillet::form::HyperLink::targetUrl(AboutWindow::kMakerSite).scheme(), QStringLiteral("http"));
    }
};

QTEST_MAIN(TestDesignerWindow)
#include "tst_designerwindow.moc"
