// Encoding speed and file size for pictures like the ones the tool exports: our
// writers against QImage::save of the same picture, and our PNG and GIF sizes
// against zopflipng and gifsicle -O3 run on our own files.
#include "platform/image/bmpcodec.h"
#include "platform/image/exactpalette.h"
#include "platform/image/imageconverter.h"
#include "platform/image/jpegencoder.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using quillet::image::ImageConverter;

namespace {
constexpr int kMinRuns = 5;
constexpr qint64 kMinNanoseconds = 300'000'000;

struct Picture
{
    const char *name;
    QImage image;
};

QImage gradientButton(int width, int height, const QString &caption, QColor top, QColor bottom)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(236, 233, 216));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, 0, height);
    face.setColorAt(0, top.lighter(130));
    face.setColorAt(0.45, top);
    face.setColorAt(0.55, bottom);
    face.setColorAt(1, bottom.darker(120));
    p.setBrush(face);
    p.setPen(QPen(bottom.darker(180), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), 3, 3);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qMax(9, height * 12 / 24));
    p.setFont(font);
    p.setPen(QColor(20, 30, 60));
    p.drawText(image.rect(), Qt::AlignCenter, caption);
    return image;
}

QImage dropButton()
{
    QImage image = gradientButton(16, 20, QString(), QColor(200, 215, 240), QColor(150, 175, 220));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(4.5, 8.5);
    arrow.lineTo(11.5, 8.5);
    arrow.lineTo(8, 12.5);
    arrow.closeSubpath();
    p.fillPath(arrow, QColor(30, 40, 70));
    return image;
}

QImage checkBox()
{
    QImage image = gradientButton(13, 13, QString(), QColor(250, 250, 250), QColor(215, 220, 230));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 120, 40), 1.6));
    p.drawPolyline(QPolygonF({ QPointF(3, 6.5), QPointF(5.5, 9), QPointF(10, 3.5) }));
    return image;
}

QImage window()
{
    QImage image(798, 570, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb(
                200 + x * 40 / image.width(), 190 + y * 50 / image.height(), 230 - (x + y) * 60 / 1368);
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(0, 0, 798, 26), QColor(40, 80, 160));
    p.setPen(Qt::white);
    p.drawText(QRect(8, 0, 400, 26), Qt::AlignVCenter, QStringLiteral("Button maker"));
    for (int i = 0; i < 12; ++i) {
        const QColor top = QColor::fromHsv((i * 30) % 360, 60, 240);
        const QColor bottom = QColor::fromHsv((i * 30) % 360, 140, 200);
        p.drawImage(20 + (i % 4) * 130, 60 + (i / 4) * 60,
            gradientButton(104, 24, QStringLiteral("Button %1").arg(i), top, bottom));
    }
    p.fillRect(QRect(560, 40, 220, 500), Qt::white);
    p.setPen(Qt::black);
    for (int i = 0; i < 24; ++i)
        p.drawText(
            QRect(570, 50 + i * 20, 200, 20), Qt::AlignVCenter, QStringLiteral("Skin number %1").arg(i));
    p.drawImage(40, 300,
        gradientButton(218, 48, QStringLiteral("Download"), QColor(120, 200, 120), QColor(40, 140, 60)));
    return image;
}

// Median milliseconds of enough runs to fill the minimum time.
double medianMs(const std::function<void()> &work)
{
    std::vector<double> runs;
    QElapsedTimer total;
    total.start();
    while (int(runs.size()) < kMinRuns || total.nsecsElapsed() < kMinNanoseconds) {
        QElapsedTimer one;
        one.start();
        work();
        runs.push_back(double(one.nsecsElapsed()) / 1e6);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

QByteArray qtSave(const QImage &image, const char *format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

// Size of the file an outside optimiser makes of ours, or -1 when it cannot run.
qint64 optimisedSize(const QString &program, const QStringList &arguments, const QString &output)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return -1;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        return -1;
    return QFileInfo(output).size();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;

    const std::vector<Picture> pictures {
        { "button 104x24",
            gradientButton(104, 24, QStringLiteral("OK"), QColor(190, 210, 245), QColor(120, 160, 225)) },
        { "button 218x48",
            gradientButton(
                218, 48, QStringLiteral("Download"), QColor(250, 200, 120), QColor(220, 120, 40)) },
        { "drop 16x20", dropButton() },
        { "check 13x13", checkBox() },
        { "window 798x570", window() },
    };

    std::printf("%-15s %-4s %7s %9s %9s %9s %9s  %s\n", "picture", "fmt", "colours", "ours ms", "Qt ms",
        "ours B", "Qt B", "optimiser B");
    for (const Picture &picture : pictures) {
        ImageConverter converter;
        const QByteArray bmp = quillet::image::BmpCodec::encode(picture.image);
        converter.loadFromMemory(bmp);
        const QImage exact = quillet::image::ExactPalette::toIndexed(picture.image);
        const QByteArray colours
            = exact.isNull() ? QByteArray(">256") : QByteArray::number(exact.colorCount());
        const QString base
            = dir.filePath(QString::fromLatin1(picture.name).replace(QLatin1Char(' '), QLatin1Char('_')));

        // GIF: reduction included in our time, as the exporter does it; Qt has no GIF writer.
        const double gifMs = medianMs([&] {
            ImageConverter c;
            c.loadFromMemory(bmp);
            c.convertColorDepth(8);
            (void)c.encode(ImageConverter::Gif);
        });
        const QByteArray gif = converter.encode(ImageConverter::Gif);
        writeFile(base + ".gif", gif);
        const qint64 gifsicle = optimisedSize(QStringLiteral("gifsicle"),
            { QStringLiteral("-O3"), base + ".gif", QStringLiteral("-o"), base + "-O3.gif" },
            base + "-O3.gif");
        std::printf("%-15s %-4s %7s %9.2f %9s %9lld %9s  %lld (gifsicle -O3)\n", picture.name, "gif",
            colours.constData(), gifMs, "-", qlonglong(gif.size()), "-", qlonglong(gifsicle));

        const double pngMs = medianMs([&] { (void)converter.encode(ImageConverter::Png); });
        const double qtPngMs = medianMs([&] { (void)qtSave(picture.image, "PNG", -1); });
        const QByteArray png = converter.encode(ImageConverter::Png);
        const QByteArray qtPng = qtSave(picture.image, "PNG", -1);
        writeFile(base + ".png", png);
        const qint64 zopfli = optimisedSize(QStringLiteral("zopflipng"),
            { QStringLiteral("-m"), QStringLiteral("-y"), base + ".png", base + "-z.png" }, base + "-z.png");
        std::printf("%-15s %-4s %7s %9.2f %9.2f %9lld %9lld  %lld (zopflipng -m)\n", picture.name, "png",
            colours.constData(), pngMs, qtPngMs, qlonglong(png.size()), qlonglong(qtPng.size()),
            qlonglong(zopfli));

        const int quality = quillet::image::JpegEncoder::kQuality;
        const double jpgMs = medianMs([&] { (void)converter.encode(ImageConverter::Jpeg); });
        const double qtJpgMs = medianMs([&] { (void)qtSave(picture.image, "JPEG", quality); });
        std::printf("%-15s %-4s %7s %9.2f %9.2f %9lld %9lld  (Qt: 4:2:0, ours: 4:4:4, both q%d)\n",
            picture.name, "jpg", colours.constData(), jpgMs, qtJpgMs,
            qlonglong(converter.encode(ImageConverter::Jpeg).size()),
            qlonglong(qtSave(picture.image, "JPEG", quality).size()), quality);
    }
    std::printf("colours: distinct colours of the picture; above 256 the GIF is quantised\n");
    return 0;
}
