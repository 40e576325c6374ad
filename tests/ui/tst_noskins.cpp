// A first start with an empty skins folder: no skin is applied, so the plain look and its
// own window colour stay, and every text of the About window can be read.
#include "app/designerprogram.h"
#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"
#include "skin/skinengine.h"
#include "ui/aboutwindow.h"
#include "ui/designerwindow.h"

#include "support/designerrun.h"

#include <QtTest>

#include <cmath>
#include <map>

namespace {

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(QRgb rgb)
{
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// The contrast of a text on the picture of its area: the ground is the commonest colour,
// the ink the colour that stands out most from it.
double textContrast(const QImage &area)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            ++counts[area.pixel(x, y) | 0xFF000000];
    QRgb ground = counts.begin()->first;
    for (const auto &[colour, count] : counts)
        if (count > counts[ground])
            ground = colour;
    double best = 1.0;
    for (const auto &entry : counts)
        best = qMax(best, contrast(ground, entry.first));
    return best;
}

} // namespace

class TestNoSkins : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    void aboutWindowTextsCanBeRead_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("notice") << "标签1";
        QTest::newRow("maker link") << "超级链接框1";
        QTest::newRow("contact link") << "超级链接框2";
    }

    void aboutWindowTextsCanBeRead()
    {
        QFETCH(QString, control);
        DesignerRun run{QStringList()}; // skins/ exists and is empty
        auto &program = run.program;
        QVERIFY(program.state().skinFiles.isEmpty());
        QCOMPARE(program.state().backgroundColour, quillet::skin::SkinEngine::plainColour());

        double measured = 0;
        QTimer::singleShot(0, this, [&] {
            auto *about = qobject_cast<quillet::ui::AboutWindow *>(QApplication::activeModalWidget());
            if (!about)
                return;
            const QImage whole = about->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QWidget *text = about->findChild<QWidget *>(control);
            if (text)
                measured = textContrast(whole.copy(text->geometry()));
            about->close();
        });
        QTest::mouseClick(run.ui().按钮5, Qt::LeftButton);
        QVERIFY2(measured >= 4.5, qPrintable(QString::number(measured)));
    }

    void designerWindowTakesThePlainColour()
    {
        DesignerRun run{QStringList()};
        auto &program = run.program;
        const QColor plain = quillet::skin::SkinEngine::plainColour();
        QVERIFY(plain.lightness() > 128);
        auto &ui = run.ui();
        QCOMPARE(program.window().palette().color(QPalette::Window), plain);
        QCOMPARE(ui.标签16->palette().color(QPalette::Window), plain);
        QCOMPARE(ui.颜色选择器1->colour(), plain);
        const QImage caption = ui.标签6->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(textContrast(caption) >= 4.5);
    }
};

QTEST_MAIN(TestNoSkins)
#include "tst_noskins.moc"
