// The full preview composition for every shipped skin, with border removal off and on. The
// compositions pause 60 ms (off) or 70 ms (on) by design; the table shows the total and the
// time beyond those pauses, which is what the captures and copies cost.
#include "app/designerprogram.h"
#include "platform/form/dialogs.h"
#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"
#include "platform/system/networkprobe.h"
#include "render/samplegeometry.h"
#include "render/samplepreview.h"
#include "ui/designerwindow.h"
#include "support/fakedialogs.h"
#include "support/fakenetworkprobe.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;
using quillet::app::DesignerProgram;

namespace {

constexpr int kRuns = 5;
constexpr double kNsPerMs = 1e6;
constexpr double kWaitsBorderOffMs = 60;
constexpr double kWaitsBorderOnMs = 70;
constexpr char16_t kFirstWideCharacter = 0x1100;
constexpr int kNameColumn = 16;

struct Timing
{
    double averageMs = 0;
    double bestMs = 0;
};

Timing timeCompositions(quillet::render::SamplePreview &preview)
{
    double total = 0;
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer clock;
        clock.start();
        preview.composePreview();
        const double ms = double(clock.nsecsElapsed()) / kNsPerMs;
        total += ms;
        best = std::min(best, ms);
    }
    return { total / kRuns, best };
}

// Left-justified to a column of terminal cells; CJK characters take two.
QString padded(const QString &text)
{
    int cells = 0;
    for (const QChar character : text)
        cells += character.unicode() >= kFirstWideCharacter ? 2 : 1;
    return text + QString(std::max(0, kNameColumn - cells), u' ');
}

void setBorderRemoval(DesignerProgram &program, bool on)
{
    program.window().borderRemovalBox()->setChecked(on);
    program.geometry().applyButtonWidth();
    program.geometry().applyButtonHeight();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QUILLET_BROWSER"))
        qputenv("QUILLET_BROWSER", "null");
    QApplication application(argc, argv);
    quillet::form::FontSetup::install();

    QTemporaryDir work;
    const QString programFolder = work.filePath(u"program"_s);
    const QString desktop = work.filePath(u"desktop"_s);
    copyFolder(QStringLiteral(QUILLET_SOURCE_DIR "/skins"), programFolder + u"/skins"_s);
    QDir().mkpath(programFolder + u"/sys"_s);
    QDir().mkpath(desktop);

    FakeDialogs dialogs;
    
    FakeNetworkProbe probe;
    DesignerProgram program({ dialogs, probe, programFolder, desktop, u"quillet"_s });
    program.start();
    program.window().previewTimer()->setInterval(0);
    QListWidget *skins = program.window().skinList();

    std::printf(
        "ComposePreview per skin, %d runs each; beyond = total minus the fixed waits (%.0f / %.0f ms)\n",
        kRuns, kWaitsBorderOffMs, kWaitsBorderOnMs);
    std::printf("%s %9s %9s %9s   %9s %9s %9s\n", qPrintable(padded(u"skin (border)"_s)), "off avg", "beyond",
        "best", "on avg", "beyond", "best");
    double sumOff = 0;
    double sumOn = 0;
    double bestBeyondOff = 1e300;
    double bestBeyondOn = 1e300;
    for (int row = 0; row < skins->count(); ++row) {
        skins->setCurrentRow(row);
        program.window().previewTimer()->setInterval(0);
        setBorderRemoval(program, false);
        program.preview().composePreview(); // warm the skin's caches
        const Timing off = timeCompositions(program.preview());
        setBorderRemoval(program, true);
        const Timing on = timeCompositions(program.preview());
        sumOff += off.averageMs - kWaitsBorderOffMs;
        sumOn += on.averageMs - kWaitsBorderOnMs;
        bestBeyondOff = std::min(bestBeyondOff, off.bestMs - kWaitsBorderOffMs);
        bestBeyondOn = std::min(bestBeyondOn, on.bestMs - kWaitsBorderOnMs);
        std::printf("%s %9.2f %9.2f %9.2f   %9.2f %9.2f %9.2f\n",
            qPrintable(padded(skins->item(row)->text())), off.averageMs, off.averageMs - kWaitsBorderOffMs,
            off.bestMs - kWaitsBorderOffMs, on.averageMs, on.averageMs - kWaitsBorderOnMs,
            on.bestMs - kWaitsBorderOnMs);
    }
    const int count = std::max(1, int(skins->count()));
    std::printf("%s %9s %9.2f %9s   %9s %9.2f %9s\n", qPrintable(padded(u"mean of skins"_s)), "",
        sumOff / count, "", "", sumOn / count, "");
    std::printf("%s %9s %9s %9.2f   %9s %9s %9.2f\n", qPrintable(padded(u"best of all"_s)), "", "",
        bestBeyondOff, "", "", bestBeyondOn);
    setBorderRemoval(program, false);
    return 0;
}
