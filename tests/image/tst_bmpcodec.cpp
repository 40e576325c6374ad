#include "image/bmpcodec.h"
#include "image/bmpheader.h"

#include "support/externaldecoder.h"
#include "support/testpictures.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using quillet::image::BmpCodec;
using quillet::image::BmpHeader;

namespace {
constexpr int kHeadersSize = 54;

QByteArray patched(QByteArray bytes, int at, qint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

QByteArray patched16(QByteArray bytes, int at, quint16 value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}
} // namespace

class TestBmpCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        for (int w : { 1, 2, 3, 4, 5, 13, 16, 104, 218 })
            for (int h : { 1, 13, 24 })
                QTest::addRow("%dx%d", w, h) << w << h;
    }
    void roundTrip()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        const QImage source = TestPictures::withColours(width, height, 1000);
        const QByteArray bytes = BmpCodec::encode(source);
        const int stride = (width * 3 + 3) & ~3;
        QCOMPARE(bytes.size(), kHeadersSize + stride * height);
        QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 2), quint32(bytes.size()));
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 18), width);
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 22), height);
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));

        const QImage decoded = BmpCodec::decode(bytes);
        QCOMPARE(decoded.size(), source.size());
        QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), source);
        QCOMPARE(BmpCodec::encode(decoded), bytes);
    }

    void topDownRowsAreRead()
    {
        const QImage source = TestPictures::withColours(5, 4, 20);
        QByteArray bytes = BmpCodec::encode(source);
        // Turn the bottom-up file into a top-down one with the same rows: the picture flips.
        bytes = patched(bytes, 22, -4);
        const QImage decoded = BmpCodec::decode(bytes);
        QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), source.mirrored(false, true));
    }

    // Files written by netpbm at every depth it offers, compared pixel by pixel.
    void otherDepths_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("colours");
        QTest::newRow("1 bit") << 1 << 2;
        QTest::newRow("4 bit") << 4 << 16;
        QTest::newRow("8 bit") << 8 << 200;
        QTest::newRow("24 bit") << 24 << 1000;
    }
    void otherDepths()
    {
        QFETCH(int, bits);
        QFETCH(int, colours);
        QVERIFY(ExternalDecoder::available(QStringLiteral("ppmtobmp")));
        QTemporaryDir dir;
        const QImage source = TestPictures::withColours(37, 11, colours);
        QByteArray ppm = QByteArray("P6\n37 11\n255\n");
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x) {
                const QRgb c = source.pixel(x, y);
                ppm.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
            }
        QFile file(dir.filePath(QStringLiteral("in.ppm")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ppm);
        file.close();
        const auto run = ExternalDecoder::run(
            QStringLiteral("ppmtobmp"), { QStringLiteral("-bpp"), QString::number(bits), file.fileName() });
        QCOMPARE(run.exitCode, 0);
        const std::optional<BmpHeader> header = BmpHeader::parse(run.out);
        QVERIFY(header);
        QCOMPARE(header->bitsPerPixel, bits);
        QCOMPARE(BmpCodec::decode(run.out).convertToFormat(QImage::Format_RGB32), source);
        // Any byte short of the full pixel data makes the file unreadable, not half read.
        QVERIFY(BmpCodec::decode(run.out.chopped(1)).isNull());
    }

    void rejectedHeaders_data()
    {
        const QByteArray good = BmpCodec::encode(TestPictures::withColours(3, 2, 6));
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("magic only") << QByteArray("BM");
        QTest::newRow("wrong magic") << QByteArray("MB").append(good.mid(2));
        QTest::newRow("truncated header") << good.left(30);
        QTest::newRow("truncated pixels") << good.chopped(1);
        QTest::newRow("huge dimensions") << patched(patched(good, 18, 30000), 22, 30000);
        QTest::newRow("too many pixels") << patched(patched(good, 18, 16384), 22, 16384);
        QTest::newRow("zero width") << patched(good, 18, 0);
        QTest::newRow("negative width") << patched(good, 18, -3);
        QTest::newRow("smallest height") << patched(good, 22, std::numeric_limits<qint32>::min());
        QTest::newRow("odd depth") << patched16(good, 28, 7);
        QTest::newRow("embedded jpeg") << patched(good, 30, 4);
        QTest::newRow("rle with 24 bits") << patched(good, 30, 1);
        QTest::newRow("data offset past end") << patched(good, 10, 100000);
        QTest::newRow("data offset inside header") << patched(good, 10, 20);
        QTest::newRow("info header size odd") << patched(good, 14, 39);
        QTest::newRow("info header larger than file") << patched(good, 14, 124);
    }
    void rejectedHeaders()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!BmpHeader::parse(bytes));
        QVERIFY(BmpCodec::decode(bytes).isNull());
    }

    void nullImageEncodesToNothing() { QVERIFY(BmpCodec::encode(QImage()).isEmpty()); }
};

QTEST_MAIN(TestBmpCodec)
#include "tst_bmpcodec.moc"
