// Encoding speed and file size for pictures like the ones the tool exports: our
// writers against QImage::save of the same picture, and our PNG and GIF sizes
// against zopflipng and gifsicle -O3 run on our own files. Then the pictures of the
// batch job ("quillet render", every shipped skin x captions x 4 button states, 104 x 24
// on the skin's background): total PNG bytes beside zopflipng -m of the same files, and
// WebP bytes beside our PNG bytes (and a check that both decode to the same pixels), and
// milliseconds per picture of each codec on one core. "--captions N" sets the captions
// per skin (default 10; the batch job has 100), "--set-only" skips the single pictures,
// "--keep FOLDER" leaves the set's files there.
#include "catalogue/programpaths.h"
#include "catalogue/skincatalogue.h"
#include "pictures/webexport.h"
#include "platform/form/fontsetup.h"
#include "image/alphapicture.h"
#include "image/bmpcodec.h"
#include "image/exactpalette.h"
#include "image/imageconverter.h"
#include "image/jpegencoder.h"
#include "image/pngencoder.h"
#include "image/webpencoder.h"
#include "skin/skinparser.h"
#include "render/buttonrenderer.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

using quillet::image::ImageConverter;
using namespace Qt::StringLiterals;

namespace {
constexpr int kMinRuns = 5;
constexpr qint64 kMinNanoseconds = 300'000'000;
constexpr int kDefaultCaptions = 10;
constexpr int kStates = 4;
constexpr int kSetRounds = 3;
constexpr int kOptimiserJobs = 2;

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

// One picture of the batch job as its encoders get it: drawn by the skin, on the skin's
// background, as RGB32; the PNG path gets its exact palette when it has one.
struct JobPicture
{
    QImage opaque;
    QImage pngInput;
};

// Every shipped skin x captions x the 4 button states, drawn as "quillet render" draws them
// (default font, 104 x 24, scale 1).
std::vector<JobPicture> jobPictures(int captions)
{
    const QString programFolder = QStringLiteral(QUILLET_SOURCE_DIR);
    QStringList skinFiles;
    quillet::catalogue::SkinCatalogue::fill(
        quillet::catalogue::ProgramPaths::skinsFolder(programFolder), skinFiles, nullptr, {});
    QFont font(u"宋体"_s);
    font.setPointSize(9);
    std::vector<JobPicture> pictures;
    for (const QString &skinFile : std::as_const(skinFiles)) {
        const quillet::skin::Skin skin = quillet::skin::SkinParser::parseFile(
            quillet::catalogue::ProgramPaths::skinFile(programFolder, skinFile));
        const quillet::render::ButtonRenderer renderer(skin);
        for (int i = 0; i < captions; ++i) {
            quillet::pictures::ButtonJob job;
            job.caption
                = quillet::catalogue::SkinCatalogue::displayName(skinFile) + u" 按钮"_s + QString::number(i);
            job.font = font;
            job.background = skin.base();
            const auto files = quillet::pictures::WebExport::plan(job);
            for (int s = 0; s < kStates && s < files.size(); ++s) {
                const QImage drawn = quillet::pictures::WebExport::draw(files[s], job, renderer);
                JobPicture picture;
                picture.opaque = quillet::image::AlphaPicture::composite(drawn, job.background);
                picture.opaque.setDevicePixelRatio(1);
                const QImage indexed = quillet::image::ExactPalette::toIndexed(picture.opaque);
                picture.pngInput = indexed.isNull() ? picture.opaque : indexed;
                pictures.push_back(picture);
            }
        }
    }
    return pictures;
}

// Milliseconds of processor time per picture of one codec over the whole set, best of a few
// rounds (on a machine others share, the clock on the wall says more about them), and the
// total bytes.
struct SetFigures
{
    double msPerPicture = 0;
    qint64 bytes = 0;
};

SetFigures encodeSet(const std::vector<JobPicture> &pictures,
    const std::function<QByteArray(const JobPicture &)> &encode, std::vector<QByteArray> *files = nullptr)
{
    SetFigures figures;
    double bestMs = 1e300;
    for (int round = 0; round < kSetRounds; ++round) {
        qint64 bytes = 0;
        const std::clock_t started = std::clock();
        for (size_t i = 0; i < pictures.size(); ++i) {
            const QByteArray out = encode(pictures[i]);
            bytes += out.size();
            if (files && round == 0)
                files->push_back(out);
        }
        bestMs = std::min(bestMs, double(std::clock() - started) * 1000.0 / CLOCKS_PER_SEC);
        figures.bytes = bytes;
    }
    figures.msPerPicture = pictures.empty() ? 0 : bestMs / double(pictures.size());
    return figures;
}

// Total size of what zopflipng -m makes of each file, or -1 when it cannot run.
qint64 zopfliTotal(const QString &folder, const std::vector<QByteArray> &pngs)
{
    if (QStandardPaths::findExecutable(u"zopflipng"_s).isEmpty())
        return -1;
    std::vector<std::unique_ptr<QProcess>> running;
    qint64 total = 0;
    bool failed = false;
    auto reap = [&](QProcess &process, const QString &output) {
        if (!process.waitForFinished(600000) || process.exitCode() != 0)
            failed = true;
        total += QFileInfo(output).size();
    };
    std::vector<QString> outputs;
    for (size_t i = 0; i < pngs.size(); ++i) {
        const QString input = folder + u"/set-%1.png"_s.arg(i);
        const QString output = folder + u"/set-%1-z.png"_s.arg(i);
        writeFile(input, pngs[i]);
        if (running.size() == kOptimiserJobs) {
            reap(*running.front(), outputs.front());
            running.erase(running.begin());
            outputs.erase(outputs.begin());
        }
        auto process = std::make_unique<QProcess>();
        process->start(u"zopflipng"_s, { u"-m"_s, u"-y"_s, input, output });
        running.push_back(std::move(process));
        outputs.push_back(output);
    }
    for (size_t i = 0; i < running.size(); ++i)
        reap(*running[i], outputs[i]);
    return failed ? -1 : total;
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    quillet::form::FontSetup::install();
    QTemporaryDir dir;
    int captions = kDefaultCaptions;
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype captionsAt = arguments.indexOf(u"--captions"_s);
    if (captionsAt > 0 && captionsAt + 1 < arguments.size())
        captions = qMax(1, arguments[captionsAt + 1].toInt());
    const qsizetype keepAt = arguments.indexOf(u"--keep"_s);
    const QString setFolder
        = keepAt > 0 && keepAt + 1 < arguments.size() ? arguments[keepAt + 1] : dir.path();
    QDir().mkpath(setFolder);

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
        if (arguments.contains(u"--set-only"_s))
            break;
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

    const std::vector<JobPicture> set = jobPictures(captions);
    int palettePictures = 0;
    for (const JobPicture &picture : set)
        palettePictures += picture.pngInput.format() == QImage::Format_Indexed8 ? 1 : 0;
    std::printf("\nbatch job set: %d shipped skins x %d captions x %d states = %d pictures 104x24, "
                "%d with at most 256 colours (the PNG writer may use a palette), %d with more\n",
        int(set.size()) / (captions * kStates), captions, kStates, int(set.size()), palettePictures,
        int(set.size()) - palettePictures);
    std::vector<QByteArray> pngs;
    const SetFigures png = encodeSet(
        set, [](const JobPicture &p) { return quillet::image::PngEncoder::encode(p.pngInput); }, &pngs);
    const SetFigures palette = encodeSet(set, [](const JobPicture &p) {
        const QImage indexed = quillet::image::ExactPalette::toIndexed(p.opaque);
        return QByteArray(indexed.isNull() ? 0 : 1, '\0');
    });
    const SetFigures qtPng = encodeSet(set, [](const JobPicture &p) { return qtSave(p.opaque, "PNG", -1); });
    const SetFigures jpg
        = encodeSet(set, [](const JobPicture &p) { return quillet::image::JpegEncoder::encode(p.opaque); });
    std::vector<QByteArray> webps;
    const SetFigures webp = encodeSet(
        set, [](const JobPicture &p) { return quillet::image::WebpEncoder::encode(p.opaque); }, &webps);
    int differing = 0;
    for (size_t i = 0; i < set.size(); ++i) {
        const QImage fromPng = QImage::fromData(pngs[i], "PNG").convertToFormat(QImage::Format_RGB32);
        const QImage fromWebp = QImage::fromData(webps[i], "WEBP").convertToFormat(QImage::Format_RGB32);
        differing += fromPng != set[i].opaque || fromWebp != fromPng;
    }
    const SetFigures qtJpg = encodeSet(set,
        [](const JobPicture &p) { return qtSave(p.opaque, "JPEG", quillet::image::JpegEncoder::kQuality); });
    const qint64 zopfli = zopfliTotal(setFolder, pngs);
    // The row scripts/bench.sh reads: picture, format, colours, ours ms, Qt ms, ours B, Qt B, optimiser B.
    const QByteArray setName = "set " + QByteArray::number(qlonglong(set.size()));
    std::printf("%-15s %-4s %7s %9.3f %9.3f %9lld %9lld  %lld (zopflipng -m, ours/zopfli %.3f)\n",
        setName.constData(), "png", "mixed", png.msPerPicture, qtPng.msPerPicture, qlonglong(png.bytes),
        qlonglong(qtPng.bytes), qlonglong(zopfli), zopfli > 0 ? double(png.bytes) / double(zopfli) : 0.0);
    std::printf("%-15s %-4s %7s %9.3f %9.3f %9lld %9lld  (CPU ms per picture; Qt: 4:2:0)\n",
        setName.constData(), "jpg", "mixed", jpg.msPerPicture, qtJpg.msPerPicture, qlonglong(jpg.bytes),
        qlonglong(qtJpg.bytes));
    std::printf(
        "%-15s %-4s %7s %9.3f %9s %9lld %9s  webp/png %.3f; pictures decoding unlike the source: %d\n",
        setName.constData(), "webp", "mixed", webp.msPerPicture, "-", qlonglong(webp.bytes), "-",
        png.bytes > 0 ? double(webp.bytes) / double(png.bytes) : 0.0, differing);
    std::printf("exact palette alone: %.3f ms per picture (before the PNG encoder, not in its time)\n",
        palette.msPerPicture);
    return 0;
}
