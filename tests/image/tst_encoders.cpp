#include "image/exactpalette.h"
#include "image/jpegencoder.h"
#include "image/pngencoder.h"
#include "image/webpencoder.h"

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
constexpr int kJpeg = 0, kPng = 1, kWebp = 2; // indices into kCodecs
const std::array<std::pair<const char *, std::function<QByteArray(const QImage &)>>, 3> kCodecs { {
    { "jpeg", [](const QImage &i) { return JpegEncoder::encode(i); } },
    { "png", &PngEncoder::encode },
    { "webp", &WebpEncoder::encode },
} };

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
    for (qsizetype at = 2; at + 4 <= bytes.size() && quint8(bytes[at]) == 0xFF;) {
        const int marker = quint8(bytes[at + 1]);
        const int length = quint8(bytes[at + 2]) << 8 | quint8(bytes[at + 3]);
        segments.insert(marker, bytes.mid(at + 4, length - 2));
        if (marker == 0xDA)
            break;
        at += 2 + length;
    }
    return segments;
}

// Hidden corners whose colour WebP may drop, a translucent ramp and over 256 colour+alpha pairs.
QImage hasAlpha(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                qRgba(x * 7 & 0xFF, y * 13 & 0xFF, (x + y) & 0xFF,
                    (x < 3 && y < 3) ? 0 : qMin(255, x * 255 / qMax(1, width - 1) + y)));
    }
    return image;
}

// The largest difference of any channel of any pixel, 256 for pictures of different sizes;
// with hiddenFree two fully transparent pixels match whatever their colour.
int worstDifference(const QImage &a, const QImage &b, bool hiddenFree)
{
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    if (left.size() != right.size())
        return 256;
    int worst = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y);
            const QRgb q = right.pixel(x, y);
            if (!(hiddenFree && qAlpha(p) == 0 && qAlpha(q) == 0))
                worst = std::max({ worst, qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)),
                    qAbs(qBlue(p) - qBlue(q)), qAbs(qAlpha(p) - qAlpha(q)) });
        }
    }
    return worst;
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

        // Baseline 8-bit frame of the picture's size, three components, none subsampled, the
        // colour ones on the second table.
        const int h = source.height(), w = source.width();
        const char frame[]
            = { 8, char(h >> 8), char(h), char(w >> 8), char(w), 3, 1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1 };
        QCOMPARE(segments.value(0xC0), QByteArray(frame, sizeof frame));

        QMap<int, QByteArray> tables; // 8-bit tables by their number
        for (const QByteArray &segment : segments.values(0xDB)) {
            for (qsizetype at = 0; at + 65 <= segment.size(); at += 65)
                tables.insert(quint8(segment[at]), segment.mid(at + 1, 64));
        }
        QCOMPARE(tables.keys(), QList<int>({ 0, 1 }));
        for (int k = 0; k < 64; ++k) {
            QCOMPARE(quint8(tables[0][k]), scaled(kLuminance[k], quality));
            QCOMPARE(quint8(tables[1][k]), scaled(kChrominance[k], quality));
        }

        // Translucent pixels are laid on white.
        QImage expected(source.size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        QPainter(&expected).drawImage(0, 0, source);
        const int worst = worstDifference(QImage::fromData(bytes, "JPEG"), expected, false);
        QVERIFY2(worst <= maxBound, qPrintable(QString::number(worst)));
    }

    // PNG rows also name the colour type and bit depth the file must use.
    void losslessRoundTrip_data()
    {
        QTest::addColumn<int>("codec");
        QTest::addColumn<QImage>("source");
        QTest::addColumn<int>("colourType");
        QTest::addColumn<int>("bitDepth");
        const QList<QPair<int, int>> palettes { { 2, 1 }, { 4, 2 }, { 16, 4 }, { 17, 8 }, { 96, 8 } };
        for (const auto &[colours, depth] : palettes)
            QTest::addRow("png palette %d colours", colours)
                << kPng << ExactPalette::toIndexed(TestPictures::withColours(104, 24, colours)) << 3 << depth;
        // Without the 768 bytes of its palette, true colour is the smaller file here.
        QTest::newRow("png 256 colours as RGB")
            << kPng << ExactPalette::toIndexed(TestPictures::withColours(104, 24, 256)) << 2 << 8;
        // Grey levels need no palette; the depth is the narrowest that holds every level.
        const QList<QPair<int, int>> greys { { 255, 1 }, { 85, 2 }, { 17, 4 }, { 3, 8 } };
        for (const auto &[step, depth] : greys) {
            QImage grey(104, 24, QImage::Format_RGB32);
            for (int y = 0; y < grey.height(); ++y) {
                for (int x = 0; x < grey.width(); ++x) {
                    const int level = (x / 3 + y) * step % 256 / step * step;
                    grey.setPixel(x, y, qRgb(level, level, level));
                }
            }
            QTest::addRow("png grey in steps of %d", step)
                << kPng << ExactPalette::toIndexed(grey) << 0 << depth;
            if (depth == 8)
                QTest::newRow("png grey, no palette given") << kPng << grey << 0 << 8;
        }
        const QImage button = TestPictures::button(104, 24, QStringLiteral("OK"), false);
        QTest::newRow("png palette button") << kPng << ExactPalette::toIndexed(button) << 3 << 8;
        QImage translucent = TestPictures::withColours(13, 13, 5).convertToFormat(QImage::Format_ARGB32);
        translucent.setPixel(0, 0, qRgba(10, 20, 30, 0));
        translucent.setPixel(1, 0, qRgba(10, 20, 30, 128));
        QTest::newRow("png palette with tRNS") << kPng << ExactPalette::toIndexed(translucent) << 3 << 4;
        QTest::newRow("png RGB") << kPng << TestPictures::withColours(218, 48, 1000) << 2 << 8;
        QTest::newRow("png RGB window") << kPng << TestPictures::window(200, 120) << 2 << 8;
        QTest::newRow("png RGBA") << kPng << hasAlpha(104, 24) << 6 << 8;
        QTest::newRow("png one pixel") << kPng << TestPictures::withColours(1, 1, 1) << 2 << 8;
        const QList<QPair<const char *, QImage>> webp {
            { "opaque button", TestPictures::button(104, 24, QStringLiteral("OK")) },
            { "alpha", hasAlpha(104, 24) },
            { "palette input", ExactPalette::toIndexed(TestPictures::withColours(13, 13, 5)) },
            { "premultiplied input", hasAlpha(31, 7).convertToFormat(QImage::Format_ARGB32_Premultiplied) },
            { "one pixel", TestPictures::withColours(1, 1, 1) }
        };
        for (const auto &[name, image] : webp)
            QTest::addRow("webp %s", name) << kWebp << image << -1 << -1;
    }
    void losslessRoundTrip()
    {
        QFETCH(int, codec);
        QFETCH(QImage, source);
        QFETCH(int, colourType);
        QFETCH(int, bitDepth);
        if (codec == kWebp && !QImageReader::supportedImageFormats().contains("webp"))
            QSKIP("Qt's WebP reader is missing (qt6-image-formats-plugins)");
        const QByteArray bytes = kCodecs[codec].second(source);
        if (codec == kPng) {
            QCOMPARE(int(quint8(bytes[24])), bitDepth);
            QCOMPARE(int(quint8(bytes[25])), colourType);
        } else {
            QVERIFY(bytes.startsWith("RIFF") && bytes.mid(8, 8) == "WEBPVP8L");
        }
        QCOMPARE(worstDifference(QImage::fromData(bytes), source, codec == kWebp), 0);
    }

    // Same picture, same outcome: twice in a row and once more on a thread of its own, whose
    // compressor caches start empty. Pictures a codec cannot take give no bytes at all.
    void deterministicOrRefused_data()
    {
        QTest::addColumn<int>("codec");
        QTest::addColumn<QImage>("source");
        QTest::addColumn<bool>("usable");
        const QList<QPair<const char *, QImage>> pictures {
            { "button", TestPictures::button(104, 24, QStringLiteral("OK")) }, { "alpha", hasAlpha(104, 24) },
            { "palette", ExactPalette::toIndexed(TestPictures::button(104, 24, QStringLiteral("OK"), false)) }
        };
        for (int codec = kJpeg; codec <= kWebp; ++codec) {
            for (const auto &[name, image] : pictures)
                QTest::addRow("%s %s", kCodecs[codec].first, name) << codec << image << true;
            QTest::addRow("%s null", kCodecs[codec].first) << codec << QImage() << false;
        }
        QImage badIndex(4, 4, QImage::Format_Indexed8);
        badIndex.setColorTable({ qRgb(1, 2, 3), qRgb(4, 5, 6) });
        badIndex.fill(7);
        QTest::newRow("jpeg past its side limit")
            << kJpeg << QImage(JpegEncoder::kMaxSide + 1, 1, QImage::Format_RGB32) << false;
        // Within our side limit but past the library's own, which it reports as an error.
        QTest::newRow("jpeg too wide for the library")
            << kJpeg << QImage(65510, 1, QImage::Format_RGB32) << false;
        QTest::newRow("png index past the table") << kPng << badIndex << false;
        QTest::newRow("webp past its side limit")
            << kWebp << QImage(1, WebpEncoder::kMaxSide + 1, QImage::Format_RGB32) << false;
    }
    void deterministicOrRefused()
    {
        QFETCH(int, codec);
        QFETCH(QImage, source);
        QFETCH(bool, usable);
        const auto &encode = kCodecs[codec].second;
        const QByteArray first = encode(source);
        QCOMPARE(first.isEmpty(), !usable);
        QCOMPARE(encode(source), first);
        QByteArray elsewhere;
        std::unique_ptr<QThread> thread(QThread::create([&] { elsewhere = encode(source); }));
        thread->start();
        QVERIFY(thread->wait(60000));
        QCOMPARE(elsewhere, first);
    }
};

QTEST_MAIN(TestEncoders)
#include "tst_encoders.moc"
