// "quillet render" for every shipped skin x 100 captions x 4 button states, PNG at scale 1,
// in one manifest with "name": "{skin}/{text}_{state}", written on disk (not a tmpfs):
// pictures per second and time per picture, beside the designer's export of the same four
// pictures (captures with their fixed waits). The command runs in this process and, when it
// is built beside this program, as the real executable (process start included), which is
// what the goal is about; then once more unchanged, when every file is already up to date.
#include "app/designerprogram.h"
#include "batch/rendercommand.h"
#include "support/fakedialogs.h"
#include "support/fakenetworkprobe.h"
#include "support/testfiles.h"
#include "output/exporter.h"
#include "platform/form/fontsetup.h"
#include "render/samplepreview.h"
#include "ui/designerwindow.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCaptions = 100;
constexpr int kStates = 4;
constexpr int kDesignerRuns = 5;
constexpr double kGoalPerSecond = 2500;

QByteArray manifest(const QStringList &skins)
{
    QJsonArray entries;
    for (const QString &skin : skins) {
        QJsonArray captions;
        // The same captions in every skin: the template gives each skin its folder.
        for (int i = 0; i < kCaptions; ++i)
            captions.append(QString(u"按钮"_s + QString::number(i)));
        entries.append(QJsonObject {
            { u"skin"_s, skin }, { u"text"_s, captions }, { u"name"_s, u"{skin}/{text}_{state}"_s } });
    }
    return QJsonDocument(entries).toJson(QJsonDocument::Compact);
}

qsizetype countFiles(const QString &folder)
{
    qsizetype count = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}

void row(const char *figure, double value, const char *unit, const QString &reference)
{
    std::printf("%s\t%.3f\t%s\t%s\n", figure, value, unit, qPrintable(reference));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    quillet::form::FontSetup::install();

    // Beside the benchmark, on the disk the build is on: never a tmpfs.
    QTemporaryDir work(QDir::currentPath() + u"/bench-render-XXXXXX"_s);
    const QString programFolder = work.filePath(u"program"_s);
    copyFolder(QStringLiteral(QUILLET_SOURCE_DIR "/skins"), programFolder + u"/skins"_s);
    QDir().mkpath(programFolder + u"/sys"_s);
    const QStringList skins = quillet::batch::RenderCommand::skinNames(programFolder);
    const QString manifestPath = work.filePath(u"buttons.json"_s);
    {
        QFile file(manifestPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(manifest(skins)) < 0)
            return 1;
    }
    const int pictures = int(skins.size()) * kCaptions * kStates;

    // The command in this process.
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const QString inProcessOut = work.filePath(u"in-process"_s);
    QElapsedTimer timer;
    timer.start();
    const int code
        = quillet::batch::RenderCommand::run({ u"--manifest"_s, manifestPath, u"--out"_s, inProcessOut },
            { programFolder, outStream, errStream, false });
    const double inProcessS = double(timer.nsecsElapsed()) / 1e9;
    if (code != 0 || countFiles(inProcessOut) != pictures) {
        errStream.flush();
        std::fprintf(stderr, "render failed (%d): %s\n", code, qPrintable(err));
        return 1;
    }

    // The real executable, start-up and all, when it is built beside this program.
    double processS = -1;
    double rerunS = -1;
    const QString executable = QCoreApplication::applicationDirPath() + u"/quillet"_s;
    if (QFileInfo(executable).isExecutable()) {
        QDir(programFolder).mkpath(u"."_s);
        const QString processOut = work.filePath(u"process"_s);
        QProcess process;
        // The executable finds its skins beside itself: the build's skins folder.
        timer.restart();
        process.start(executable, { u"render"_s, u"--manifest"_s, manifestPath, u"--out"_s, processOut });
        if (process.waitForFinished(600000) && process.exitStatus() == QProcess::NormalExit
            && process.exitCode() == 0 && countFiles(processOut) == pictures)
            processS = double(timer.nsecsElapsed()) / 1e9;
        timer.restart();
        process.start(executable, { u"render"_s, u"--manifest"_s, manifestPath, u"--out"_s, processOut });
        if (process.waitForFinished(600000) && process.exitCode() == 0
            && process.readAllStandardOutput().startsWith("0 files written"))
            rerunS = double(timer.nsecsElapsed()) / 1e9;
    }

    // The designer: one export of the four button states as PNG, best of several.
    FakeDialogs dialogs;
    const QString designerOut = work.filePath(u"designer"_s);
    QDir().mkpath(designerOut);
    dialogs.standingConfirm = true;
    dialogs.standingFolder = designerOut;
    FakeNetworkProbe probe;
    quillet::app::DesignerProgram program(
        { dialogs, probe, programFolder, work.path() + u'/', u"quillet"_s });
    program.start();
    program.preview().onPreviewTimerTick();
    using quillet::model::OutputGroup;
    auto &window = program.window();
    window.captionBox()->setText(u"下载"_s);
    window.outputGroupBox(OutputGroup::ButtonStates)->setChecked(true);
    for (OutputGroup group : { OutputGroup::ComboButton, OutputGroup::CheckBox, OutputGroup::WholeWindow })
        window.outputGroupBox(group)->setChecked(false);
    window.formatBox()->setCurrentIndex(3);
    double designerMs = 1e300;
    for (int run = 0; run < kDesignerRuns; ++run) {
        timer.restart();
        program.exporter().exportImages();
        designerMs = std::min(designerMs, double(timer.nsecsElapsed()) / 1e6);
    }
    const double designerPerPicture = designerMs / kStates;

    const double perSecond = pictures / inProcessS;
    const double processPerSecond = processS > 0 ? pictures / processS : 0;
    const QString setup = u"%1 skins x %2 captions x %3 states = %4 PNG pictures on disk"_s.arg(skins.size())
                              .arg(kCaptions)
                              .arg(kStates)
                              .arg(pictures);
    row("quillet render, pictures per second (in process)", perSecond, "pictures/s", setup);
    row("quillet render, time per picture (in process)", inProcessS * 1000 / pictures, "ms",
        u"designer export %1 ms per picture (4 states, best of %2)"_s.arg(designerPerPicture, 0, 'f', 3)
            .arg(kDesignerRuns));
    if (processS > 0) {
        row("quillet render, pictures per second (executable)", processPerSecond, "pictures/s",
            u"one process run, start-up and final sync included: %1 s; goal %2/s: %3"_s.arg(processS, 0, 'f', 2)
                .arg(kGoalPerSecond)
                .arg(processPerSecond >= kGoalPerSecond ? u"met"_s : u"NOT met"_s));
        row("quillet render, time per picture (executable)", processS * 1000 / pictures, "ms",
            u"designer export %1 ms per picture"_s.arg(designerPerPicture, 0, 'f', 3));
    }
    if (rerunS > 0)
        row("quillet render, rerun with every file up to date", rerunS, "s",
            u"the first run: %1 s"_s.arg(processS, 0, 'f', 2));
    row("designer export, time per picture", designerPerPicture, "ms",
        u"one export of 4 PNG states through captures and their fixed waits, best of %1"_s.arg(
            kDesignerRuns));
    return processPerSecond >= kGoalPerSecond ? 0 : 2;
}
