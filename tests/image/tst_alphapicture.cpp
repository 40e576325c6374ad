// Pictures with a see-through background: PNG keeps every alpha level, GIF one transparent
// colour. Every file is read back by decoders that share no code with ours.
#include "image/alphapicture.h"
#include "image/gifencoder.h"

#include "support/externaldecoder.h"
#include "support/testfiles.h"

#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <QtTest>

using quillet::image::AlphaPicture;
using quillet::image::GifEncoder;

namespace {

// A rounded, antialiased button on a transparent background: a face of `colours` bands
// (few colours give a palette file, many give RGBA) and a border.
QImage roundedButton(int width, int height, int radius, int colours)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), radius, radius);
    p.setClipPath(path);
    // Bands side by side, so that a wide picture can hold hundreds of colours.
    for (int i = 0; i < colours; ++i) {
        const int left = width * i / colours;
        const int right = width * (i + 1) / colours;
        p.fillRect(QRect(left, 0, right - left, height),
            QColor(40 + i * 200 / colours, 120 + i % 7, 220 - i * 150 / colours));
    }
    p.setClipping(false);
    p.setPen(QPen(QColor(20, 60, 40), 1));
    p.drawPath(path);
    return image;
}

QRgb straight(const QImage &image, int x, int y)
{
    return image.convertToFormat(QImage::Format_ARGB32).pixel(x, y);
}

} // namespace

class TestAlphaPicture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pngKeepsEveryAlphaLevel_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("colours");
        QTest::addColumn<QByteArray>("pngColourType");
        // Few colour+alpha pairs fit a palette with a transparency table; a face of many
        // bands needs 8-bit RGBA.
        QTest::newRow("palette and tRNS") << 104 << 3 << QByteArray("palette");
        QTest::newRow("RGBA") << 320 << 300 << QByteArray("RGB+alpha");
    }
    void pngKeepsEveryAlphaLevel()
    {
        QFETCH(int, width);
        QFETCH(int, colours);
        QFETCH(QByteArray, pngColourType);
        if (!ExternalDecoder::available(QStringLiteral("pngtopnm"))
            || !ExternalDecoder::available(QStringLiteral("pngcheck")))
            QSKIP("netpbm or pngcheck missing");
        const QImage source = roundedButton(width, 24, 6, colours);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("b.png"));
        QVERIFY(writeAll(path, AlphaPicture::encodePng(source)));

        const ExternalDecoder::Run check
            = ExternalDecoder::run(QStringLiteral("pngcheck"), { QStringLiteral("-v"), path });
        QCOMPARE(check.exitCode, 0);
        QVERIFY2(check.out.contains(pngColourType), check.out.constData());

        const QImage rgb = ExternalDecoder::decode(path);
        const QImage alpha = ExternalDecoder::decodeAlpha(path);
        QCOMPARE(rgb.size(), source.size());
        QCOMPARE(alpha.size(), source.size());
        // Corners see-through, centre opaque, and every pixel exactly the straight colour.
        QCOMPARE(qRed(alpha.pixel(0, 0)), 0);
        QCOMPARE(qRed(alpha.pixel(width - 1, 23)), 0);
        QCOMPARE(qRed(alpha.pixel(width / 2, 12)), 255);
        int partial = 0;
        for (int y = 0; y < source.height(); ++y) {
            for (int x = 0; x < source.width(); ++x) {
                const QRgb want = straight(source, x, y);
                const int a = qAlpha(want);
                QCOMPARE(qRed(alpha.pixel(x, y)), a);
                partial += a > 0 && a < 255;
                if (a > 0)
                    QCOMPARE(rgb.pixel(x, y) & 0xFFFFFF, want & 0xFFFFFF);
            }
        }
        QVERIFY2(partial > 8, "the antialiased edge has partial alpha");
    }

    void gifHidesOnlyWhatLiesOutsideTheButton_data()
    {
        QTest::addColumn<int>("colours");
        QTest::addColumn<QColor>("matte");
        QTest::newRow("exact palette, white matte") << 3 << QColor(Qt::white);
        QTest::newRow("exact palette, dark matte") << 3 << QColor(30, 30, 40);
        QTest::newRow("quantised, grey matte") << 300 << QColor(200, 200, 200);
    }
    void gifHidesOnlyWhatLiesOutsideTheButton()
    {
        QFETCH(int, colours);
        QFETCH(QColor, matte);
        if (!ExternalDecoder::available(QStringLiteral("giftopnm"))
            || !ExternalDecoder::available(QStringLiteral("gifsicle")))
            QSKIP("netpbm or gifsicle missing");
        const QImage source = roundedButton(120, 40, 10, colours);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("b.gif"));
        QVERIFY(writeAll(path, AlphaPicture::encodeGif(source, matte)));

        const ExternalDecoder::Run info
            = ExternalDecoder::run(QStringLiteral("gifsicle"), { QStringLiteral("--info"), path });
        QCOMPARE(info.exitCode, 0);
        QVERIFY2(info.out.contains("transparent"), info.out.constData());

        const QImage rgb = ExternalDecoder::decode(path);
        const QImage mask = ExternalDecoder::decodeAlpha(path);
        QCOMPARE(mask.size(), source.size());
        int hidden = 0;
        for (int y = 0; y < source.height(); ++y) {
            for (int x = 0; x < source.width(); ++x) {
                const QRgb want = straight(source, x, y);
                const bool kept = qAlpha(want) >= AlphaPicture::kGifAlphaThreshold;
                QCOMPARE(qRed(mask.pixel(x, y)) == 255, kept);
                hidden += !kept;
                if (kept && colours <= 256) {
                    // Edge pixels are the colour blended on the matte, exactly.
                    const int a = qAlpha(want);
                    const auto blend = [&](int c, int m) { return (c * a + m * (255 - a) + 127) / 255; };
                    const QRgb got = rgb.pixel(x, y);
                    QCOMPARE(qRed(got), blend(qRed(want), matte.red()));
                    QCOMPARE(qGreen(got), blend(qGreen(want), matte.green()));
                    QCOMPARE(qBlue(got), blend(qBlue(want), matte.blue()));
                }
            }
        }
        QVERIFY(hidden >= 4);
        QCOMPARE(qRed(mask.pixel(0, 0)), 0);
        QCOMPARE(qRed(mask.pixel(60, 20)), 255);
    }

    void gifOfAnOpaquePictureHasNoTransparency()
    {
        QImage opaque = roundedButton(30, 12, 3, 3);
        QImage flat(opaque.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, opaque);
        int index = 7;
        const QImage indexed = AlphaPicture::gifPalette(flat, Qt::white, &index);
        QVERIFY(!indexed.isNull());
        QCOMPARE(index, -1);
        QCOMPARE(AlphaPicture::encodeGif(flat, Qt::white), GifEncoder::encode(indexed));
        QVERIFY(!AlphaPicture::encodeGif(flat, Qt::white).contains(QByteArray("\x21\xF9", 2)));
    }

    void gifTransparentIndexMustBeInTheTable_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("below") << -2 << false;
        QTest::newRow("none") << -1 << true;
        QTest::newRow("first") << 0 << true;
        QTest::newRow("last") << 2 << true;
        QTest::newRow("past the table") << 3 << false;
    }
    void gifTransparentIndexMustBeInTheTable()
    {
        QFETCH(int, index);
        QFETCH(bool, accepted);
        QImage indexed(4, 4, QImage::Format_Indexed8);
        indexed.setColorTable({ qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255) });
        indexed.fill(1);
        const QByteArray bytes = GifEncoder::encode(indexed, index);
        QCOMPARE(!bytes.isEmpty(), accepted);
        // The graphics control extension is there exactly when an index is given.
        QCOMPARE(bytes.contains(QByteArray("\x21\xF9\x04", 3)), accepted && index >= 0);
    }

    void compositeKeepsTheRatio()
    {
        QImage twoX = roundedButton(40, 20, 4, 3);
        twoX.setDevicePixelRatio(2);
        const QImage flat = AlphaPicture::composite(twoX, Qt::black);
        QCOMPARE(flat.size(), twoX.size());
        // The centre is the face, not the background: the picture was not drawn at half size.
        QVERIFY(flat.pixel(30, 15) != qRgb(0, 0, 0));
        QCOMPARE(flat.pixel(0, 0), qRgb(0, 0, 0));
    }
};

QTEST_GUILESS_MAIN(TestAlphaPicture)
#include "tst_alphapicture.moc"
