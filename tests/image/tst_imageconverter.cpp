#include "image/bmpcodec.h"
#include "image/gifencoder.h"
#include "image/imageconverter.h"
#include "image/pngencoder.h"
#include "platform/file/filewriter.h"

#include "support/externaldecoder.h"
#include "support/testfiles.h"
#include "support/testpictures.h"

#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using quillet::image::BmpCodec;
using quillet::image::GifEncoder;
using quillet::image::ImageConverter;
using quillet::image::PngEncoder;

namespace {
// A converter's bytes on disk through the program's one writer, as every export puts them.
bool save(const ImageConverter &converter, const QString &path, ImageConverter::Format format)
{
    const QByteArray bytes = converter.encode(format);
    return !bytes.isEmpty() && quillet::file::writeFile(path, bytes).ok();
}

int distinctColours(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> seen;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            seen.insert(rgb.pixel(x, y));
    return int(seen.size());
}

struct Difference
{
    double mean = 0; // per channel
    int max = 0;
};

Difference difference(const QImage &a, const QImage &b)
{
    Difference d;
    qint64 sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            for (int e :
                { qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)), qAbs(qBlue(p) - qBlue(q)) }) {
                sum += e;
                d.max = qMax(d.max, e);
            }
        }
    d.mean = double(sum) / (3.0 * a.width() * a.height());
    return d;
}

} // namespace

class TestImageConverter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *tool : { "pngtopnm", "giftopnm", "djpeg", "pngcheck", "gifsicle" })
            QVERIFY2(ExternalDecoder::available(QString::fromLatin1(tool)), tool);
        QVERIFY(m_dir.isValid());
    }

    void depthBeforeAndAfterReduction_data()
    {
        QTest::addColumn<QImage>("source");
        QTest::addColumn<int>("loaded");
        QTest::addColumn<bool>("exact");
        QTest::newRow("capture, few colours") << TestPictures::withColours(104, 24, 40) << 24 << true;
        QTest::newRow("capture, 256 colours") << TestPictures::withColours(64, 32, 256) << 24 << true;
        QTest::newRow("capture, 257 colours") << TestPictures::withColours(64, 32, 257) << 24 << false;
        QTest::newRow("button") << TestPictures::button(218, 48, QStringLiteral("Download")) << 24 << false;
        QTest::newRow("one pixel") << TestPictures::withColours(1, 1, 1) << 24 << true;
    }
    void depthBeforeAndAfterReduction()
    {
        QFETCH(QImage, source);
        QFETCH(int, loaded);
        QFETCH(bool, exact);
        const int colours = distinctColours(source);
        if (QByteArray(QTest::currentDataTag()) == "button")
            exact = colours <= 256; // the font decides; both roads are covered above

        ImageConverter converter;
        QCOMPARE(converter.colorDepth(), 0);
        QVERIFY(converter.loadFromMemory(BmpCodec::encode(source)));
        QCOMPARE(converter.colorDepth(), loaded);
        QVERIFY(converter.convertColorDepth(8));
        QCOMPARE(converter.colorDepth(), 8);
        QCOMPARE(converter.picture().format(), QImage::Format_Indexed8);
        QVERIFY(converter.picture().colorCount() <= 256);
        if (exact) {
            QCOMPARE(converter.picture().colorCount(), colours);
            QCOMPARE(converter.picture().convertToFormat(QImage::Format_RGB32), source);
        } else {
            const Difference d = difference(converter.picture(), source);
            QVERIFY2(d.mean < 3.0, qPrintable(QString::number(d.mean)));
        }
        // Reducing twice changes nothing; going back to true colour keeps the pixels.
        const QImage reduced = converter.picture();
        QVERIFY(converter.convertColorDepth(8));
        QCOMPARE(converter.picture(), reduced);
        QVERIFY(converter.convertColorDepth(24));
        QCOMPARE(converter.colorDepth(), 24);
        QCOMPARE(converter.picture().convertToFormat(QImage::Format_RGB32),
            reduced.convertToFormat(QImage::Format_RGB32));
        QVERIFY(!converter.convertColorDepth(4));
        QCOMPARE(converter.colorDepth(), 24);
    }

    void losslessFormats_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QImage>("source");
        QTest::addColumn<int>("paletteEntries"); // 0: true colour
        const QList<QPair<int, int>> sizes { { 1, 1 }, { 3, 5 }, { 13, 13 }, { 16, 20 }, { 104, 24 },
            { 218, 48 } };
        for (const QString &suffix : { QStringLiteral("png"), QStringLiteral("gif") }) {
            for (int colours : { 1, 2, 3, 4, 5, 16, 17, 255, 256 }) {
                for (const auto &size : sizes) {
                    if (size.first * size.second < colours)
                        continue; // too small to hold that many colours
                    QTest::addRow("%s %d colours %dx%d", qPrintable(suffix), colours, size.first, size.second)
                        << suffix << TestPictures::withColours(size.first, size.second, colours) << colours;
                }
            }
            QTest::addRow("%s aliased button", qPrintable(suffix))
                << suffix << TestPictures::button(104, 24, QStringLiteral("OK"), false) << -1;
        }
        QTest::addRow("png 1000 colours")
            << QStringLiteral("png") << TestPictures::withColours(218, 48, 1000) << 0;
        QTest::addRow("png antialiased button")
            << QStringLiteral("png") << TestPictures::button(218, 48, QStringLiteral("Download")) << -1;
    }
    // Read back by netpbm, the files hold exactly the source pixels.
    void losslessFormats()
    {
        QFETCH(QString, suffix);
        QFETCH(QImage, source);
        QFETCH(int, paletteEntries);
        const int colours = distinctColours(source);
        if (paletteEntries < 0)
            paletteEntries = colours <= 256 ? colours : 0;
        QCOMPARE(colours, paletteEntries == 0 ? colours : paletteEntries);

        ImageConverter converter;
        QVERIFY(converter.loadFromMemory(BmpCodec::encode(source)));
        const QString path = m_dir.filePath(QStringLiteral("lossless.") + suffix);
        const bool gif = suffix == QLatin1String("gif");
        QVERIFY(save(converter, path, gif ? ImageConverter::Gif : ImageConverter::Png));
        const QByteArray bytes = readAll(path);
        QCOMPARE(ExternalDecoder::decode(path), source);

        if (gif) {
            QVERIFY(bytes.startsWith("GIF89a"));
            const int mapEntries = 2 << (quint8(bytes[10]) & 0x07);
            QCOMPARE(mapEntries, GifEncoder::colourMapSize(paletteEntries));
            QVERIFY(mapEntries >= paletteEntries && (mapEntries == 2 || mapEntries / 2 < paletteEntries));
            const auto info
                = ExternalDecoder::run(QStringLiteral("gifsicle"), { QStringLiteral("--info"), path });
            QCOMPARE(info.exitCode, 0);
            QVERIFY2(info.err.isEmpty(), info.err.constData());
        } else {
            const auto check
                = ExternalDecoder::run(QStringLiteral("pngcheck"), { QStringLiteral("-v"), path });
            QVERIFY2(check.exitCode == 0, check.out.constData());
            // Nothing but the pixels: no text, time, physical size or gamma chunks.
            const QString chunks = QString::fromLatin1(check.out);
            for (const char *chunk : { "tEXt", "zTXt", "iTXt", "tIME", "pHYs", "gAMA", "sRGB", "iCCP" })
                QVERIFY2(!chunks.contains(QLatin1String(chunk)), chunk);
            const int colourType = quint8(bytes[25]);
            const int bitDepth = quint8(bytes[24]);
            // A long palette may give way to true colour, which needs no palette chunk.
            if (paletteEntries > 0 && (paletteEntries <= PngEncoder::kShortPalette || colourType == 3)) {
                QCOMPARE(colourType, 3);
                QCOMPARE(bitDepth, PngEncoder::paletteBitDepth(paletteEntries));
            } else {
                QCOMPARE(colourType, 2);
                QCOMPARE(bitDepth, 8);
            }
        }
    }

    void paletteBitDepth_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("gifMap");
        for (const auto &row : QList<QList<int>> { { 1, 1, 2 }, { 2, 1, 2 }, { 3, 2, 4 }, { 4, 2, 4 },
                 { 5, 4, 8 }, { 16, 4, 16 }, { 17, 8, 32 }, { 256, 8, 256 } })
            QTest::addRow("%d", row[0]) << row[0] << row[1] << row[2];
    }
    void paletteBitDepth()
    {
        QFETCH(int, entries);
        QFETCH(int, bits);
        QFETCH(int, gifMap);
        QCOMPARE(PngEncoder::paletteBitDepth(entries), bits);
        QCOMPARE(GifEncoder::colourMapSize(entries), gifMap);
    }

    // More colours than a GIF holds: quantised, and still close to the source.
    void quantisedGif_data()
    {
        QTest::addColumn<QImage>("source");
        QTest::addColumn<bool>("dither");
        QTest::addColumn<double>("meanBound");
        QTest::addColumn<int>("maxBound");
        const QImage window = TestPictures::window(400, 300);
        // Measured about 3.5 / 33, 4.4 / 46 and 8.3 / 33; a wrong mapping lands far beyond.
        QTest::newRow("window") << window << false << 5.0 << 48;
        QTest::newRow("window dithered") << window << true << 6.0 << 64;
        QTest::newRow("1000 colour stripes")
            << TestPictures::withColours(218, 48, 1000) << false << 10.0 << 48;
    }
    void quantisedGif()
    {
        QFETCH(QImage, source);
        QFETCH(bool, dither);
        QFETCH(double, meanBound);
        QFETCH(int, maxBound);
        QVERIFY(distinctColours(source) > 256);
        ImageConverter converter;
        QVERIFY(converter.loadFromMemory(BmpCodec::encode(source)));
        QVERIFY(converter.convertColorDepth(8, dither));
        const QString path = m_dir.filePath(QStringLiteral("quantised.gif"));
        QVERIFY(save(converter, path, ImageConverter::Gif));
        const QImage decoded = ExternalDecoder::decode(path);
        QCOMPARE(decoded.size(), source.size());
        QCOMPARE(decoded, converter.picture().convertToFormat(QImage::Format_RGB32));
        const Difference d = difference(decoded, source);
        qInfo("mean %.3f max %d", d.mean, d.max);
        QVERIFY2(d.mean <= meanBound && d.max <= maxBound,
            qPrintable(QStringLiteral("%1 %2").arg(d.mean).arg(d.max)));
        // A deeper picture saved as GIF without an explicit reduction shows the same
        // pixels, and the held picture keeps its depth.
        ImageConverter direct;
        QVERIFY(direct.loadFromMemory(BmpCodec::encode(source)));
        const QString directPath = m_dir.filePath(QStringLiteral("direct.gif"));
        QVERIFY(save(direct, directPath, ImageConverter::Gif));
        if (!dither)
            QCOMPARE(ExternalDecoder::decode(directPath), decoded);
        QCOMPARE(direct.colorDepth(), 24);
    }

    void jpegWithinBounds_data()
    {
        QTest::addColumn<QImage>("source");
        QTest::addColumn<double>("meanBound");
        QTest::addColumn<int>("maxBound");
        // Full chroma keeps red caption edges within a few dozen levels; a writer that
        // halves the colour resolution gives a maximum near 100 on these buttons.
        QTest::newRow("button 104x24") << TestPictures::button(104, 24, QStringLiteral("OK")) << 2.5 << 45;
        QTest::newRow("button 218x48")
            << TestPictures::button(218, 48, QStringLiteral("Download")) << 2.5 << 45;
        QTest::newRow("check box 13x13") << TestPictures::button(13, 13, QString()) << 5.0 << 40;
        QTest::newRow("drop button 16x20") << TestPictures::button(16, 20, QStringLiteral("v")) << 5.0 << 45;
        QTest::newRow("one pixel") << TestPictures::withColours(1, 1, 1) << 1.0 << 2;
        QTest::newRow("odd edges 17x9") << TestPictures::button(17, 9, QString()) << 4.0 << 40;
        QTest::newRow("window") << TestPictures::window(400, 300) << 1.0 << 45;
    }
    void jpegWithinBounds()
    {
        QFETCH(QImage, source);
        QFETCH(double, meanBound);
        QFETCH(int, maxBound);
        ImageConverter converter;
        QVERIFY(converter.loadFromMemory(BmpCodec::encode(source)));
        const QString path = m_dir.filePath(QStringLiteral("picture.jpg"));
        QVERIFY(save(converter, path, ImageConverter::Jpeg));
        const QByteArray bytes = readAll(path);
        QVERIFY(bytes.startsWith("\xFF\xD8"));
        const auto strict
            = ExternalDecoder::run(QStringLiteral("djpeg"), { QStringLiteral("-strict"), path });
        QCOMPARE(strict.exitCode, 0);
        QVERIFY2(strict.err.isEmpty(), strict.err.constData());
        const QImage decoded = ExternalDecoder::decode(path);
        QCOMPARE(decoded.size(), source.size());
        const Difference d = difference(decoded, source);
        qInfo("mean %.3f max %d, %lld bytes", d.mean, d.max, qlonglong(bytes.size()));
        QVERIFY2(d.mean <= meanBound && d.max <= maxBound,
            qPrintable(QStringLiteral("%1 %2").arg(d.mean).arg(d.max)));
    }

    void failedWriteLeavesNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<bool>("existing"); // a good file is already at the path
        const QString root = m_dir.path();
        QTest::newRow("folder missing")
            << root + "/missing/out.png" << int(ImageConverter::Png) << true << false;
        QTest::newRow("path is a folder") << root + "/folder" << int(ImageConverter::Gif) << true << false;
        QTest::newRow("parent is a file")
            << root + "/plain.txt/out.jpg" << int(ImageConverter::Jpeg) << true << false;
        QTest::newRow("empty path") << QString() << int(ImageConverter::Png) << true << false;
        QTest::newRow("read-only folder")
            << root + "/locked/out.png" << int(ImageConverter::Png) << true << true;
        QTest::newRow("nothing loaded") << root + "/kept.png" << int(ImageConverter::Png) << false << true;
    }
    void failedWriteLeavesNothing()
    {
        QFETCH(QString, path);
        QFETCH(int, format);
        QFETCH(bool, loaded);
        QFETCH(bool, existing);
        const QString root = m_dir.path();
        QVERIFY(QDir(root).mkpath(QStringLiteral("folder")));
        QVERIFY(QDir(root).mkpath(QStringLiteral("locked")));
        QVERIFY(writeAll(root + "/plain.txt", "plain"));
        const QByteArray good("an older file that must survive");
        if (existing)
            QVERIFY(writeAll(path, good));
        QFile locked(root + "/locked");
        QVERIFY(locked.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        const auto unlock = qScopeGuard(
            [&locked] { locked.setPermissions(QFile::permissions(locked.fileName()) | QFile::WriteOwner); });
        if (path.contains(QLatin1String("/locked/")) && QFileInfo(root + "/locked").isWritable())
            QSKIP("permissions are not enforced for this user");

        ImageConverter converter;
        if (loaded)
            QVERIFY(converter.loadFromMemory(
                BmpCodec::encode(TestPictures::button(104, 24, QStringLiteral("OK")))));
        const QStringList before = tree(root);
        QVERIFY(!save(converter, path, ImageConverter::Format(format)));
        // No temporary or partial file is left behind anywhere.
        QCOMPARE(tree(root), before);
        if (existing)
            QCOMPARE(readAll(path), good);
        else if (!path.isEmpty())
            QVERIFY(!QFileInfo(path).isFile());
    }

    void saveReplacesExistingFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("replace.png"));
        QVERIFY(writeAll(path, QByteArray(5000, 'x')));
        ImageConverter converter;
        const QImage source = TestPictures::withColours(16, 20, 3);
        QVERIFY(converter.loadFromMemory(BmpCodec::encode(source)));
        QVERIFY(save(converter, path, ImageConverter::Png));
        QCOMPARE(readAll(path), converter.encode(ImageConverter::Png));
        QCOMPARE(ExternalDecoder::decode(path), source);
    }

    void garbageIsRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = BmpCodec::encode(TestPictures::withColours(13, 13, 9));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("not a picture at all, just words");
        QTest::newRow("png bytes") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
        QTest::newRow("half a bmp") << good.left(good.size() / 2);
        QTest::newRow("huge header, tiny file") << QByteArray::fromHex(
            "424d3c000000000000003600000028000000307500003075000001001800000000000000000000000000000000000000"
            "000000000000");
        QByteArray noise(4096, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) ^ (i >> 3));
        noise[0] = 'B';
        noise[1] = 'M';
        QTest::newRow("noise behind BM") << noise;
    }
    void garbageIsRefused()
    {
        QFETCH(QByteArray, bytes);
        ImageConverter converter;
        QVERIFY(converter.loadFromMemory(BmpCodec::encode(TestPictures::withColours(4, 4, 3))));
        QVERIFY(!converter.loadFromMemory(bytes));
        QVERIFY(converter.picture().isNull());
        QCOMPARE(converter.colorDepth(), 0);
        QVERIFY(!converter.convertColorDepth(8));
        for (const ImageConverter::Format format : { ImageConverter::Gif, ImageConverter::Jpeg, ImageConverter::Png })
            QVERIFY(converter.encode(format).isEmpty());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestImageConverter)
#include "tst_imageconverter.moc"
