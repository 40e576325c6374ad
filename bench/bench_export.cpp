// One export of all eleven state images per format. The capture (compositions and
// snapshots) is timed apart from the encode-and-write of the same eleven pictures, and the
// writing is compared with QImage::save. PNG and GIF sizes are compared with zopflipng and
// gifsicle -O3 run on our own files.
#include "app/designerprogram.h"
#include "output/exporter.h"
#include "platform/form/dialogs.h"
#include "platform/form/fontsetup.h"
#include "platform/form/formruntime.h"
#include "pictures/picturebytes.h"
#include "platform/file/filewriter.h"
#include "platform/system/networkprobe.h"
#include "render/samplepreview.h"
#include "render/stateimages.h"
#include "ui/designerwindow.h"
#include "support/fakedialogs.h"
#include "support/fakenetworkprobe.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>

using namespace Qt::StringLiterals;
using quillet::app::DesignerProgram;

namespace {

constexpr int kRuns = 5;
constexpr double kNsPerMs = 1e6;
constexpr int kImagesPerExport = 11;

struct FormatRow
{
    const char *label;
    QString extension;
    const char *qtFormat; // nullptr: Qt has no writer for it
};
const FormatRow kFormats[] = {
    { "BMP", u".bmp"_s, "BMP" },
    { "JPG", u".jpg"_s, "JPG" },
    { "GIF", u".gif"_s, nullptr },
    { "PNG", u".png"_s, "PNG" },
};

double ms(qint64 ns)
{
    return double(ns) / kNsPerMs;
}

template<typename F> qint64 bestOf(F &&work)
{
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed());
    }
    return best;
}

qint64 folderBytes(const QString &folder, const QString &extension)
{
    qint64 total = 0;
    for (const QFileInfo &file : QDir(folder).entryInfoList({ u"*"_s + extension }, QDir::Files))
        total += file.size();
    return total;
}

void emptyFolder(const QString &folder)
{
    QDir dir(folder);
    dir.removeRecursively();
    dir.mkpath(u"."_s);
}

// Runs a tool on every file of a folder with the given extension; false if any run failed.
bool runOnEach(const QString &folder, const QString &extension, const QString &program,
    const std::function<QStringList(const QString &in)> &arguments)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return false;
    for (const QFileInfo &file : QDir(folder).entryInfoList({ u"*"_s + extension }, QDir::Files)) {
        QProcess process;
        process.start(program, arguments(file.filePath()));
        if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0)
            return false;
    }
    return true;
}

QString sizeOrDash(qint64 bytes)
{
    return bytes > 0 ? QString::number(bytes) : u"-"_s;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    quillet::form::FontSetup::install();

    QTemporaryDir work;
    const QString programFolder = work.filePath(u"program"_s);
    const QString desktop = work.filePath(u"desktop"_s);
    const QString out = work.filePath(u"out"_s);
    QDir().mkpath(programFolder + u"/skins"_s);
    QDir().mkpath(programFolder + u"/sys"_s);
    QDir().mkpath(desktop);
    QDir().mkpath(out);
    QFile::copy(QStringLiteral(QUILLET_SOURCE_DIR "/skins/经典.an"), programFolder + u"/skins/经典.an"_s);

    FakeDialogs dialogs;
    dialogs.standingConfirm = true;
    dialogs.standingFolder = out;
    FakeNetworkProbe probe;
    DesignerProgram program({ dialogs, probe, programFolder, desktop + u'/', u"quillet"_s });
    program.start();
    program.preview().onPreviewTimerTick();
    program.window().captionBox()->setText(u"下载"_s);
    for (quillet::model::OutputGroup group : {quillet::model::OutputGroup::ButtonStates, quillet::model::OutputGroup::ComboButton,
                                              quillet::model::OutputGroup::CheckBox, quillet::model::OutputGroup::WholeWindow})
        program.window().outputGroupBox(group)->setChecked(true);

    // The capture alone: compositions and snapshots into a sink that only keeps the bytes.
    QList<QByteArray> captures;
    quillet::render::StateImages images(program.window(), program.preview());
    const qint64 captureNs = bestOf([&] {
        captures.clear();
        images.take([&](const quillet::render::StateImages::Image &image) { captures.append(image.bmp); });
    });
    if (captures.size() != kImagesPerExport) {
        std::fprintf(
            stderr, "expected %d captures, got %lld\n", kImagesPerExport, qlonglong(captures.size()));
        return 1;
    }
    qint64 pixels = 0;
    for (const QByteArray &bmp : std::as_const(captures)) {
        const QImage picture = QImage::fromData(bmp, "BMP");
        pixels += qint64(picture.width()) * picture.height();
    }

    std::printf("export of %d images (%lld pixels), best of %d runs; capture alone %.2f ms\n",
        kImagesPerExport, qlonglong(pixels), kRuns, ms(captureNs));
    std::printf("%-4s %11s %11s %11s %10s %10s %12s\n", "fmt", "export ms", "encode ms", "Qt save ms",
        "bytes", "Qt bytes", "tool bytes");

    for (int index = 0; index < int(std::size(kFormats)); ++index) {
        const FormatRow &format = kFormats[index];
        program.window().formatBox()->setCurrentIndex(index);

        const qint64 exportNs = bestOf([&] {
            emptyFolder(out);
            program.exporter().exportImages();
        });

        // Our writing of the same eleven pictures, without the capture.
        const auto pictureFormat = *quillet::pictures::Formats::fromDesignerIndex(index);
        const qint64 encodeNs = bestOf([&] {
            emptyFolder(out);
            for (int i = 0; i < captures.size(); ++i) {
                const QString path = out + u"/image"_s + QString::number(i) + format.extension;
                quillet::file::writeFile(path, quillet::pictures::PictureBytes::fromBmp(captures.at(i), pictureFormat));
            }
        });
        const qint64 ourBytes = folderBytes(out, format.extension);

        // The tools shrink copies of our own files in place.
        qint64 toolBytes = 0;
        const QString tools = work.filePath(u"tools"_s);
        emptyFolder(tools);
        for (const QFileInfo &file : QDir(out).entryInfoList(QDir::Files))
            QFile::copy(file.filePath(), tools + u'/' + file.fileName());
        if (index == 3) {
            if (runOnEach(tools, format.extension, u"zopflipng"_s, [](const QString &in) {
                    return QStringList { u"-y"_s, in, in };
                }))
                toolBytes = folderBytes(tools, format.extension);
        } else if (index == 2) {
            if (runOnEach(tools, format.extension, u"gifsicle"_s, [](const QString &in) {
                    return QStringList { u"-O3"_s, u"-b"_s, in };
                }))
                toolBytes = folderBytes(tools, format.extension);
        }

        qint64 qtNs = 0;
        qint64 qtBytes = 0;
        if (format.qtFormat) {
            const QString qtFolder = work.filePath(u"qt"_s);
            qtNs = bestOf([&] {
                emptyFolder(qtFolder);
                for (int i = 0; i < captures.size(); ++i) {
                    const QImage picture = QImage::fromData(captures.at(i), "BMP");
                    picture.save(
                        qtFolder + u"/image"_s + QString::number(i) + format.extension, format.qtFormat);
                }
            });
            qtBytes = folderBytes(qtFolder, format.extension);
        }

        std::printf("%-4s %11.2f %11.2f %11s %10lld %10s %12s\n", format.label, ms(exportNs), ms(encodeNs),
            format.qtFormat ? qPrintable(QString::number(ms(qtNs), 'f', 2)) : "-", qlonglong(ourBytes),
            qPrintable(sizeOrDash(qtBytes)), qPrintable(sizeOrDash(toolBytes)));
    }
    std::printf("export ms includes capture; encode ms is load, reduce and write of the eleven pictures;\n"
                "Qt saves JPG at its default quality; tool bytes: zopflipng (PNG), gifsicle -O3 (GIF)\n");
    return 0;
}
