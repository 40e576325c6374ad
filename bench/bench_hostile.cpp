// Hostile input, time and peak memory: "quillet skin check" of a 1 MB skin with 250 unknown
// section names of 4,000 characters (the "did you mean" search), and 4000 x 4000 nine-patches
// (70 and 540 KB) read alone (one and two stretch runs per side) and through "quillet skin
// import"; "quillet render" of a 4096 x 4096 button at 3x
// (beyond the pixel budget, refused) and of four captions at 4096 x 4096, 1x (the largest
// the budget allows), every state, written to disk. Each case runs in a child process of its own, so
// the peak resident memory it reports (getrusage ru_maxrss) is that case's alone.
#include "batch/rendercommand.h"
#include "batch/skincommand.h"
#include "skin/ninepatch.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSections = 250;
constexpr int kNameLength = 4000;
constexpr int kPatchSide = 4000;
constexpr int kRuns = 3;

long peakKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QByteArray hostileSkin()
{
    QByteArray text("[skin]\nname = Hostile\n");
    for (int i = 0; i < kSections; ++i) {
        QByteArray name(kNameLength, 'a');
        for (int j = 0; j < kNameLength; ++j)
            name[j] = char('a' + (i * 7 + j * 13) % 26);
        text += '[' + name + "]\n";
    }
    return text;
}

// Guides along almost all of the top and left edges; split, they make two stretch runs per
// side, and the reader compares every pixel between them.
QByteArray bigNinePatch(bool split)
{
    // One run per side: a diagonal gradient, many colours for the caption colour's median.
    // Two runs: one colour (a PNG of 70 KB), the same all along both spans.
    QImage image(kPatchSide, kPatchSide, QImage::Format_ARGB32);
    for (int y = 0; y < kPatchSide; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < kPatchSide; ++x)
            row[x] = split ? qRgb(0xd0, 0xd8, 0xe0) : qRgb((x + y) / 32 % 256, 0xd8, (x + 2 * y) / 48 % 256);
    }
    for (int i = 0; i < kPatchSide; ++i) {
        image.setPixel(i, 0, 0);
        image.setPixel(i, kPatchSide - 1, 0);
        image.setPixel(0, i, 0);
        image.setPixel(kPatchSide - 1, i, 0);
    }
    for (int i = 10; i < kPatchSide - 10; ++i) {
        image.setPixel(i, 0, qRgba(0, 0, 0, 255));
        image.setPixel(0, i, qRgba(0, 0, 0, 255));
    }
    if (split) {
        image.setPixel(kPatchSide / 2, 0, 0);
        image.setPixel(0, kPatchSide / 2, 0);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

int skinCommand(const QStringList &arguments)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    return quillet::batch::SkinCommand::run(arguments, { QString(), outStream, errStream });
}

// A program folder holding the shipped skins.
QString programFolder(const QTemporaryDir &dir)
{
    const QString folder = dir.filePath(u"program"_s);
    const QDir skins(QStringLiteral(QUILLET_SOURCE_DIR "/skins"));
    QDir().mkpath(folder + u"/skins/翡翠"_s);
    QDir().mkpath(folder + u"/sys"_s);
    QFile::copy(skins.filePath(u"翡翠.an"_s), folder + u"/skins/翡翠.an"_s);
    for (const QString &picture : QDir(skins.filePath(u"翡翠"_s)).entryList(QDir::Files))
        QFile::copy(skins.filePath(u"翡翠/"_s + picture), folder + u"/skins/翡翠/"_s + picture);
    return folder;
}

int renderCommand(const QString &program, const QStringList &arguments)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    return quillet::batch::RenderCommand::run(arguments, { program, outStream, errStream, false });
}

// One case in this process: its best time of kRuns, then the peak memory.
int runCase(const QString &name)
{
    QTemporaryDir dir;
    const QString skin = dir.filePath(u"Hostile.an"_s);
    const QString patch = dir.filePath(u"big.9.png"_s);
    QByteArray bytes;
    if (name.startsWith(u"render")) {
        const QString program = programFolder(dir);
        const bool refused = name == u"render-3x";
        double best = 1e300;
        for (int run = 0; run < kRuns; ++run) {
            const QString out = dir.filePath(u"out%1"_s.arg(run));
            QElapsedTimer timer;
            timer.start();
            const QStringList arguments = refused
                ? QStringList { u"--scale"_s, u"3"_s, u"--text"_s, u"a"_s }
                : QStringList { u"--text"_s, u"a"_s, u"--text"_s, u"b"_s, u"--text"_s, u"c"_s, u"--text"_s, u"d"_s };
            const int code = renderCommand(program,
                arguments
                    + QStringList { u"--skin"_s, u"翡翠"_s, u"--width"_s, u"4096"_s, u"--height"_s, u"4096"_s,
                        u"--out"_s, out });
            best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
            // The refusal is exit 2 with nothing written; the largest allowed case writes.
            if (code != (refused ? 2 : 0) || QDir(out).exists() == refused)
                return 1;
            QDir(out).removeRecursively();
            if (!refused)
                break; // a minute each: one run tells
        }
        std::printf("%.3f %ld 0\n", best, peakKb());
        return 0;
    }
    if (name == u"check") {
        QFile file(skin);
        if (!file.open(QIODevice::WriteOnly) || file.write(hostileSkin()) < 0)
            return 1;
    } else {
        bytes = bigNinePatch(name == u"runs"_s);
        QFile file(patch);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0)
            return 1;
    }
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (name == u"check") {
            skinCommand({ u"check"_s, skin });
        } else if (name == u"read" || name == u"runs") {
            QString why;
            if (!quillet::skin::ninepatch::read(bytes, &why))
                return 1;
        } else {
            const QString skinName = u"Big%1"_s.arg(run);
            if (skinCommand({ u"import"_s, patch, u"--name"_s, skinName, u"--out"_s, dir.path() }) != 0)
                return 1;
        }
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("%.3f %ld %lld\n", best, peakKb(), static_cast<long long>(bytes.size()));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3 && arguments[1] == u"--case")
        return runCase(arguments[2]);

    const std::tuple<const char *, const char *, QString> cases[] = {
        { "check", "skin check, 1 MB skin, 250 unknown 4000-character sections", u"target under 1000 ms"_s },
        { "read", "nine-patch read, 4000 x 4000", u"target under 1000 ms"_s },
        { "runs", "nine-patch read, 4000 x 4000, two stretch runs per side", u"target under 1000 ms"_s },
        { "import", "skin import, 4000 x 4000 nine-patch", u"read, caption colour, picture written"_s },
        { "render-3x", "render 4096 x 4096 at 3x (beyond the pixel budget)", u"refused, exit 2"_s },
        { "render-big", "render 4 captions at 4096 x 4096, 1x, every state", u"the largest allowed"_s },
    };
    int failures = 0;
    for (const auto &[name, figure, reference] : cases) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), { u"--case"_s, QString::fromLatin1(name) });
        if (!child.waitForFinished(600000) || child.exitCode() != 0) {
            std::fprintf(stderr, "%s failed\n", name);
            ++failures;
            continue;
        }
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() != 3) {
            ++failures;
            continue;
        }
        const QString note = QString::fromLatin1(figures[2]) == u"0"_s
            ? reference
            : reference + u"; PNG of %1 bytes"_s.arg(QString::fromLatin1(figures[2]));
        std::printf(
            "%s: time, best of up to %d\t%s\tms\t%s\n", figure, kRuns, figures[0].constData(), qPrintable(note));
        std::printf("%s: peak resident memory\t%.1f\tMB\tru_maxrss of its own process\n", figure,
            figures[1].toDouble() / 1024);
    }
    return failures ? 1 : 0;
}
