// The form runtime over Qt: snapshots as BMP files, synthetic mouse messages, canvases,
// timers, number text and file writing.
#include "platform/form/canvas.h"
#include "platform/form/formruntime.h"
#include "platform/form/intervaltimer.h"
#include "platform/form/numbertext.h"
#include "image/bmpcodec.h"
#include "skin/skinengine.h"
#include "platform/form/statehints.h"

#include <QtTest>
#include <QtWidgets>

using quillet::form::Canvas;
using quillet::form::FormRuntime;
using quillet::form::NumberText;

namespace {

// Decodes a BMP with netpbm, not with Qt, so the file format itself is checked.
QImage decodeIndependently(const QByteArray &bmp)
{
    QProcess decoder;
    decoder.start(QStringLiteral("bmptopnm"), {});
    if (!decoder.waitForStarted())
        return {};
    decoder.write(bmp);
    decoder.closeWriteChannel();
    decoder.waitForFinished();
    const QByteArray pnm = decoder.readAllStandardOutput();
    // P6 <w> <h> <max>\n<rgb...>
    QList<QByteArray> header;
    qsizetype at = 0;
    while (header.size() < 4 && at < pnm.size()) {
        while (at < pnm.size() && QChar::isSpace(uchar(pnm[at])))
            ++at;
        const qsizetype start = at;
        while (at < pnm.size() && !QChar::isSpace(uchar(pnm[at])))
            ++at;
        header << pnm.mid(start, at - start);
    }
    ++at;
    if (header.size() < 4 || header[0] != "P6" || header[3] != "255")
        return {};
    const int width = header[1].toInt();
    const int height = header[2].toInt();
    if (pnm.size() - at < qsizetype(width) * height * 3)
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    const auto *pixel = reinterpret_cast<const uchar *>(pnm.constData() + at);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, pixel += 3)
            image.setPixel(x, y, qRgb(pixel[0], pixel[1], pixel[2]));
    return image;
}

QImage grabOf(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestFormRuntime : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("bmptopnm")).isEmpty(), "netpbm is missing");
    }

    void snapshotIsExactBmp_data()
    {
        QTest::addColumn<QSize>("control");
        QTest::addColumn<QSize>("asked");
        QTest::newRow("sample button") << QSize(104, 24) << QSize(104, 24);
        QTest::newRow("odd width") << QSize(3, 7) << QSize(3, 7);
        QTest::newRow("one pixel") << QSize(1, 1) << QSize(1, 1);
        QTest::newRow("wide") << QSize(218, 48) << QSize(218, 48);
        QTest::newRow("larger than control") << QSize(20, 10) << QSize(33, 17);
        QTest::newRow("smaller than control") << QSize(50, 30) << QSize(13, 13);
    }

    void snapshotIsExactBmp()
    {
        QFETCH(QSize, control);
        QFETCH(QSize, asked);
        QWidget window;
        window.resize(400, 200);
        QPushButton button(QStringLiteral("确定"), &window);
        button.setGeometry(QRect(QPoint(5, 5), control));
        const QByteArray bmp = FormRuntime::snapshot(&button, asked.width(), asked.height());
        const QImage decoded = decodeIndependently(bmp);
        QCOMPARE(decoded.size(), asked);
        const QImage expected = grabOf(&button);
        for (int y = 0; y < asked.height(); ++y) {
            for (int x = 0; x < asked.width(); ++x) {
                const QRgb want = x < control.width() && y < control.height() ? expected.pixel(x, y) : qRgb(255, 255, 255);
                QCOMPARE(decoded.pixel(x, y), want);
            }
        }
    }

    void snapshotRefusesImpossibleSizes_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("zero") << 0 << 24;
        QTest::newRow("negative") << -5 << 24;
        QTest::newRow("absurd") << 2000000000 << 24;
        QTest::newRow("too tall") << 10 << FormRuntime::kMaxSnapshotSide + 1;
    }

    void snapshotRefusesImpossibleSizes()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QPushButton button;
        QVERIFY(FormRuntime::snapshot(&button, width, height).isEmpty());
        QVERIFY(FormRuntime::snapshot(nullptr, 10, 10).isEmpty());
    }

    void mouseMessagesShowPressedThenHot()
    {
        quillet::skin::SkinEngine engine;
        QWidget window;
        window.resize(200, 100);
        QPushButton button(QStringLiteral("确定"), &window);
        button.setGeometry(10, 10, 104, 24);
        QComboBox combo(&window);
        combo.setEditable(true);
        combo.setGeometry(10, 50, 46, 32);
        QVERIFY(engine.apply(QStringLiteral(QUILLET_SOURCE_DIR "/skins/经典.an"), &window));

        const QImage normal = grabOf(&button);
        FormRuntime::sendWindowMessage(&button, FormRuntime::LeftButtonDown, 0, 0);
        QVERIFY(button.isDown());
        const QImage pressed = grabOf(&button);
        FormRuntime::sendWindowMessage(&button, FormRuntime::LeftButtonUp, 0, 0);
        QVERIFY(!button.isDown());
        QVERIFY(button.underMouse());
        const QImage hot = grabOf(&button);
        QVERIFY(normal != pressed);
        QVERIFY(normal != hot);
        QVERIFY(pressed != hot);
        FormRuntime::setEnabled(&button, false);
        QVERIFY(!button.underMouse());
        FormRuntime::setEnabled(&button, true);
        QCOMPARE(grabOf(&button), normal);

        const QImage comboNormal = grabOf(&combo);
        FormRuntime::sendWindowMessage(&combo, FormRuntime::LeftButtonDown, 0, 0);
        QVERIFY(combo.property(quillet::form::kPressedProperty).toBool());
        QVERIFY(grabOf(&combo) != comboNormal);
        QVERIFY(!combo.view()->isVisible()); // no popup opened
        FormRuntime::sendWindowMessage(&combo, FormRuntime::LeftButtonUp, 0, 0);
        QVERIFY(!combo.property(quillet::form::kPressedProperty).toBool());
        engine.release();
    }

    void canvasCopyAndBackground()
    {
        Canvas source;
        source.resize(64, 48);
        QImage picture(46, 32, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        picture.setPixel(29, 0, qRgb(1, 2, 3));
        FormRuntime::setBackgroundPicture(&source, quillet::image::BmpCodec::encode(picture));
        Canvas target;
        target.resize(16, 20);
        FormRuntime::canvasCopy(&source, 29, 0, 16, 20, &target, 0, 0);
        QCOMPARE(target.pixels().pixel(0, 0), qRgb(1, 2, 3));
        QCOMPARE(target.pixels().pixel(15, 19), QColor(Qt::blue).rgb());
        // Beyond the source's picture the copy takes the source's white background.
        FormRuntime::canvasCopy(&source, 40, 20, 16, 20, &target, 0, 0);
        QCOMPARE(target.pixels().pixel(15, 19), qRgb(255, 255, 255));
        QCOMPARE(target.pixels().pixel(0, 0), QColor(Qt::blue).rgb());
        // A new background picture replaces what the copies left.
        QImage small(4, 4, QImage::Format_RGB32);
        small.fill(Qt::red);
        FormRuntime::setBackgroundPicture(&target, quillet::image::BmpCodec::encode(small));
        QCOMPARE(target.pixels().size(), QSize(4, 4));
        QCOMPARE(target.grab().toImage().pixel(10, 10), qRgb(255, 255, 255));
    }

    void toNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::newRow("integer") << "104" << 104.0;
        QTest::newRow("fraction") << "100.9" << 100.9;
        QTest::newRow("leading blanks") << "  32" << 32.0;
        QTest::newRow("negative") << "-2" << -2.0;
        QTest::newRow("trailing letters") << "48px" << 48.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("no exponent") << "1e12" << 1.0;
        QTest::newRow("bare point") << "." << 0.0;
        QTest::newRow("point fraction") << ".5" << 0.5;
        QTest::newRow("huge") << "1000000000000" << 1e12;
        QTest::newRow("sign only") << "-" << 0.0;
    }

    void toNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QCOMPARE(NumberText::toNumber(text), number);
    }

    void truncation_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("toward zero") << 100.9 << qint64(100);
        QTest::newRow("negative toward zero") << -3.7 << qint64(-3);
        QTest::newRow("clamped high") << 1e30 << qint64(std::numeric_limits<int>::max());
        QTest::newRow("clamped low") << -1e30 << qint64(std::numeric_limits<int>::min());
        QTest::newRow("nan") << std::nan("") << qint64(0);
    }

    void truncation()
    {
        QFETCH(double, value);
        QFETCH(qint64, expected);
        QCOMPARE(NumberText::truncated(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()),
                 expected);
    }

    void intervalTimer()
    {
        quillet::form::IntervalTimer timer;
        int ticks = 0;
        connect(&timer, &quillet::form::IntervalTimer::tick, this, [&] { ++ticks; });
        timer.setInterval(5);
        QVERIFY(timer.isRunning());
        QTRY_VERIFY(ticks >= 2);
        timer.setInterval(0);
        QVERIFY(!timer.isRunning());
        const int stopped = ticks;
        QTest::qWait(30);
        QCOMPARE(ticks, stopped);
        timer.setInterval(-3);
        QVERIFY(!timer.isRunning());
    }

    void tickCountIsMonotonic()
    {
        const qint64 start = FormRuntime::tickCount();
        FormRuntime::delay(5);
        QVERIFY(FormRuntime::tickCount() - start >= 5);
    }
};

QTEST_MAIN(TestFormRuntime)
#include "tst_formruntime.moc"
