#include "platform/image/exactpalette.h"
#include "platform/image/jpegencoder.h"
#include "platform/image/pngencoder.h"
#include "platform/image/webpencoder.h"

#include "support/testpictures.h"

#include <QImageReader>
#include <QPainter>
#include <QTest>
#include <QThread>

#include <functional>

using quillet::image::ExactPalette;
using quillet::image::JpegEncoder;
using quillet::image::PngEncoder;
namespace WebpEncoder = quillet::image::WebpEncoder;

namespace {
using Encode = std::function<QByteArray(const QImage &)>;

// Standard luminance and chrominance tables, in zigzag order as DQT stores them.
constexpr int kLuminance[64] = { 16, 11, 12, 14, 12, 10, 16, 14, 13, 14, 18, 17, 16, 19, 24, 40, 26, 24, 22,
    22, 24, 49, 35, 37, 29, 40, 58, 51, 61, 60, 57, 51, 56, 55, 64, 72, 92, 78, 64, 68, 87, 69, 55, 56, 80,
    109, 81, 87, 95, 98, 103, 104, 103, 62, 77, 113, 121, 112, 100, 120, 92, 101, 103, 99 };
constexpr int kChrominance[64] = { 17, 18, 18, 24, 21, 24, 47, 26, 26, 47, 99, 66, 56, 66, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99 };

int scaled(int base, int quality)
{
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    return qBound(1, (base * scale + 50) / 100, 255);
}

// The payload of every marker segment before the scan, by marker byte.
QMultiMap<int, QByteArray> jpegSegments(const QByteArray &bytes)
{
    QMultiMap<int, QByteArray> segments;
    qsizetype at = 2;
    while (at + 4 <= bytes.size() && quint8(bytes[at]) == 0xFF) {
        const int marker = quint8(bytes[at + 1]);
        const int length = quint8(bytes[at + 2]) << 8 | quint8(bytes[at + 3]);
        segments.insert(marker, bytes.mid(at + 4, length - 2));
        if (marker == 0xDA)
            break;
        at += 2 + length;
    }
    return segments;
}

QImage hasAlpha(int width, int height)
{
    // Hidden corners, an antialiased translucent edge and more than 256 colour+alpha pairs.
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int alpha = (x < 3 && y < 3) ? 0 : qBound(0, x * 255 / qMax(1, width - 1) + y, 255);
            // Hidden pixels carry colour that the WebP file may drop.
            image.setPixel(x, y, qRgba(x * 7 & 0xFF, y * 13 & 0xFF, (x + y) & 0xFF, alpha));
        }
    }
    return image;
}

QImage straight(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Pixels that differ, where alpha 0 equals alpha 0 whatever its colour when hiddenFree.
int differingPixels(const QImage &a, const QImage &b, bool hiddenFree)
{
    const QImage left = straight(a);
    const QImage right = straight(b);
    if (left.size() != right.size())
        return -1;
    int differing = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y);
            const QRgb q = right.pixel(x, y);
            if (hiddenFree && qAlpha(p) == 0 && qAlpha(q) == 0)
                continue;
            differing += p != q;
        }
    }
    return differing;
}
} // namespace

class TestEncoders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void jpegFullChromaAtQuality_data()
    {
        QTest::addColumn<QImage>("source");
        QTest::addColumn<int>("quality");
        QTest::addColumn<int>("maxBound");
        QTest::newRow("button 104x24") << TestPictures::button(104, 24, QStringLiteral("OK")) << 92 << 45;
        QTest::newRow("odd edges 17x9") << TestPictures::button(17, 9, QString()) << 92 << 40;
        QTest::newRow("quality 50") << TestPictures::button(104, 24, QStringLiteral("OK")) << 50 << 120;
        QTest::newRow("alpha on white") << hasAlpha(40, 20) << 92 << 40;
    }
    void jpegFullChromaAtQuality()
    {
        QFETCH(QImage, source);
        QFETCH(int, quality);
        QFETCH(int, maxBound);
        const QByteArray bytes = JpegEncoder::encode(source, quality);
        QVERIFY(bytes.startsWith("\xFF\xD8") && bytes.endsWith("\xFF\xD9"));
        const QMultiMap<int, QByteArray> segments = jpegSegments(bytes);

        // Baseline frame, three components, none subsampled.
        QVERIFY(segments.contains(0xC0));
        const QByteArray frame = segments.value(0xC0);
        QCOMPARE(quint8(frame[0]), 8);
        QCOMPARE(quint8(frame[1]) << 8 | quint8(frame[2]), source.height());
        QCOMPARE(quint8(frame[3]) << 8 | quint8(frame[4]), source.width());
        QCOMPARE(int(frame[5]), 3);
        for (int c = 0; c < 3; ++c)
            QCOMPARE(quint8(frame[6 + c * 3 + 1]), quint8(0x11));

        // The quantisation tables are the standard ones at the asked quality.
        QMap<int, QByteArray> tables; // 8-bit tables by their number
        for (const QByteArray &segment : segments.values(0xDB)) {
            for (qsizetype at = 0; at + 65 <= segment.size(); at += 65)
                tables.insert(quint8(segment[at]), segment.mid(at + 1, 64));
        }
        QCOMPARE(tables.keys(), QList<int>({ 0, 1 }));
        for (int t = 0; t < 2; ++t) {
            for (int k = 0; k < 64; ++k)
                QCOMPARE(quint8(tables[t][k]), scaled(t == 0 ? kLuminance[k] : kChrominance[k], quality));
        }

        const QImage decoded = QImage::fromData(bytes, "JPEG").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(decoded.size(), source.size());
        QImage expected(source.size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        QPainter(&expected).drawImage(0, 0, source);
        int worst = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                const QRgb a = expected.pixel(x, y);
                const QRgb b = decoded.pixel(x, y);
                worst = qMax(worst,
                    qMax(qAbs(qRed(a) - qRed(b)),
                        qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b)))));
            }
        }
        QVERIFY2(worst <= maxBound, qPrintable(QString::number(worst)));
    }

    void pngRoundTrip_data()
    {
        QTest::addColumn<QImage>("source");
        QTest::addColumn<int>("colourType");
        QTest::addColumn<int>("bitDepth");
        const QList<QPair<int, int>> palettes { { 2, 1 }, { 4, 2 }, { 16, 4 }, { 17, 8 }, { 256, 8 } };
        for (const auto &[colours, depth] : palettes)
            QTest::addRow("palette %d colours", colours)
                << ExactPalette::toIndexed(TestPictures::withColours(104, 24, colours)) << 3 << depth;
        QTest::newRow("palette button")
            << ExactPalette::toIndexed(TestPictures::button(104, 24, QStringLiteral("OK"), false)) << 3 << 8;
        QImage translucent = TestPictures::withColours(13, 13, 5).convertToFormat(QImage::Format_ARGB32);
        translucent.setPixel(0, 0, qRgba(10, 20, 30, 0));
        translucent.setPixel(1, 0, qRgba(10, 20, 30, 128));
        QTest::newRow("palette with tRNS") << ExactPalette::toIndexed(translucent) << 3 << 4;
        QTest::newRow("RGB") << TestPictures::withColours(218, 48, 1000) << 2 << 8;
        QTest::newRow("RGB window") << TestPictures::window(200, 120) << 2 << 8;
        QTest::newRow("RGBA") << hasAlpha(104, 24) << 6 << 8;
        QTest::newRow("one pixel") << TestPictures::withColours(1, 1, 1) << 2 << 8;
    }
    void pngRoundTrip()
    {
        QFETCH(QImage, source);
        QFETCH(int, colourType);
        QFETCH(int, bitDepth);
        QVERIFY(!source.isNull());
        const QByteArray bytes = PngEncoder::encode(source);
        QVERIFY(bytes.startsWith("\x89PNG\r\n\x1a\n"));
        QCOMPARE(int(quint8(bytes[24])), bitDepth);
        QCOMPARE(int(quint8(bytes[25])), colourType);
        const QImage decoded = QImage::fromData(bytes, "PNG");
        QCOMPARE(differingPixels(decoded, source, false), 0);
    }

    void webpRoundTrip_data()
    {
        QTest::addColumn<QImage>("source");
        QTest::newRow("opaque button") << TestPictures::button(104, 24, QStringLiteral("OK"));
        QTest::newRow("alpha") << hasAlpha(104, 24);
        QTest::newRow("palette input") << ExactPalette::toIndexed(TestPictures::withColours(13, 13, 5));
        QTest::newRow("premultiplied input")
            << hasAlpha(31, 7).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QTest::newRow("one pixel") << TestPictures::withColours(1, 1, 1);
    }
    void webpRoundTrip()
    {
        QFETCH(QImage, source);
        if (!QImageReader::supportedImageFormats().contains("webp"))
            QSKIP("Qt's WebP reader is missing (qt6-image-formats-plugins)");
        const QByteArray bytes = WebpEncoder::encode(source);
        QVERIFY(bytes.startsWith("RIFF") && bytes.mid(8, 8) == "WEBPVP8L");
        const QImage decoded = QImage::fromData(bytes, "WEBP");
        QCOMPARE(differingPixels(decoded, source, true), 0);
    }

    // Same picture, same bytes: twice in a row and once more on a thread of its own, whose
    // compressor caches start empty.
    void deterministic_data()
    {
        QTest::addColumn<int>("codec");
        QTest::addColumn<QImage>("source");
        const QList<QPair<const char *, QImage>> pictures {
            { "button", TestPictures::button(104, 24, QStringLiteral("OK")) }, { "alpha", hasAlpha(104, 24) },
            { "palette", ExactPalette::toIndexed(TestPictures::button(104, 24, QStringLiteral("OK"), false)) }
        };
        for (int codec = 0; codec < 3; ++codec) {
            for (const auto &[name, image] : pictures)
                QTest::addRow("%s %s",
                    codec == 0       ? "jpeg"
                        : codec == 1 ? "png"
                                     : "webp",
                    name)
                    << codec << image;
        }
    }
    void deterministic()
    {
        QFETCH(int, codec);
        QFETCH(QImage, source);
        const Encode encode = codec == 0 ? Encode([](const QImage &i) { return JpegEncoder::encode(i); })
            : codec == 1                 ? Encode(&PngEncoder::encode)
                                         : Encode(&WebpEncoder::encode);
        const QByteArray first = encode(source);
        QVERIFY(!first.isEmpty());
        QCOMPARE(encode(source), first);
        QByteArray elsewhere;
        std::unique_ptr<QThread> thread(QThread::create([&] { elsewhere = encode(source); }));
        thread->start();
        QVERIFY(thread->wait(60000));
        QCOMPARE(elsewhere, first);
    }

    void unusablePictures_data()
    {
        QTest::addColumn<int>("codec");
        QTest::addColumn<QImage>("source");
        QImage badIndex(4, 4, QImage::Format_Indexed8);
        badIndex.setColorTable({ qRgb(1, 2, 3), qRgb(4, 5, 6) });
        badIndex.fill(7);
        for (int codec = 0; codec < 3; ++codec)
            QTest::addRow("null %d", codec) << codec << QImage();
        QTest::newRow("jpeg past its side limit")
            << 0 << QImage(JpegEncoder::kMaxSide + 1, 1, QImage::Format_RGB32);
        // Within our side limit but past the library's own, which it reports as an error.
        QTest::newRow("jpeg too wide for the library") << 0 << QImage(65510, 1, QImage::Format_RGB32);
        QTest::newRow("png index past the table") << 1 << badIndex;
        QTest::newRow("webp past its side limit")
            << 2 << QImage(1, WebpEncoder::kMaxSide + 1, QImage::Format_RGB32);
    }
    void unusablePictures()
    {
        QFETCH(int, codec);
        QFETCH(QImage, source);
        const QByteArray bytes = codec == 0 ? JpegEncoder::encode(source)
            : codec == 1                    ? PngEncoder::encode(source)
                                            : WebpEncoder::encode(source);
        QVERIFY(bytes.isEmpty());
    }
};

QTEST_MAIN(TestEncoders)
#include "tst_encoders.moc"
