// A thousand exports in a row in one designer run: all four groups, the four formats in turn,
// every file written and then removed. Resident memory after the first ten exports (caches,
// fonts and the skin's pictures are warm by then) against after the last one; the growth must
// stay within 5 MB. The heap in use (malloc's own count) is shown beside it, because it moves
// with every lost allocation while the resident size moves in whole pages.
//
// Output: one line per figure, "figure<TAB>value<TAB>unit<TAB>reference"; progress on stderr.
// Exit code 1 when the growth is over the limit or an export wrote the wrong number of files.
// --exports N changes the count; --inject-leak KB keeps KB more per export, to show that the
// measurement sees a leak of that size.
#include "app/designerprogram.h"
#include "output/exporter.h"
#include "platform/form/dialogs.h"
#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"
#include "platform/system/networkprobe.h"
#include "ui/designerwindow.h"
#include "support/fakedialogs.h"
#include "support/fakenetworkprobe.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include <malloc.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kDefaultExports = 1000;
constexpr int kWarmExports = 10;
constexpr int kProgressEvery = 100;
constexpr int kImagesPerExport = 11;
constexpr int kFormats = 4;
constexpr double kLimitMb = 5;
constexpr double kKbPerMb = 1024;
constexpr double kBytesPerMb = 1024.0 * 1024.0;
constexpr double kNsPerMs = 1e6;

double residentMb()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / kKbPerMb;
    }
    return 0;
}

double heapInUseMb()
{
    const struct mallinfo2 info = ::mallinfo2();
    return double(info.uordblks + info.hblkhd) / kBytesPerMb;
}

void row(const char *figure, double value, const char *unit, const QString &reference)
{
    std::printf("%s\t%.2f\t%s\t%s\n", figure, value, unit, qPrintable(reference));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QUILLET_BROWSER"))
        qputenv("QUILLET_BROWSER", "text");
    QApplication application(argc, argv);
    quillet::form::FontSetup::install();
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype countAt = arguments.indexOf(u"--exports"_s);
    const int exports
        = countAt > 0 ? std::max(kWarmExports + 1, arguments.value(countAt + 1).toInt()) : kDefaultExports;
    const qsizetype leakAt = arguments.indexOf(u"--inject-leak"_s);
    const qsizetype injectedBytes = leakAt > 0 ? std::max(0, arguments.value(leakAt + 1).toInt()) * 1024 : 0;
    std::vector<std::unique_ptr<char[]>> injected;

    QTemporaryDir work;
    const QString programFolder = work.filePath(u"program"_s);
    const QString desktop = work.filePath(u"desktop"_s);
    const QString out = work.filePath(u"out"_s);
    for (const QString &folder :
        QStringList { programFolder + u"/skins"_s, programFolder + u"/sys"_s, desktop, out })
        QDir().mkpath(folder);
    QFile::copy(QStringLiteral(QUILLET_SOURCE_DIR "/skins/经典.an"), programFolder + u"/skins/经典.an"_s);
    QFile::copy(
        QStringLiteral(QUILLET_SOURCE_DIR "/sys/Untitled.htm"), programFolder + u"/sys/Untitled.htm"_s);

    FakeDialogs dialogs;
    dialogs.standingConfirm = true;
    dialogs.standingFolder = out;
    FakeNetworkProbe probe;
    quillet::app::DesignerProgram program({ dialogs, probe, programFolder, desktop, u"quillet"_s });
    program.start();
    program.window().captionBox()->setText(u"下载"_s);
    for (quillet::model::OutputGroup group : {quillet::model::OutputGroup::ButtonStates, quillet::model::OutputGroup::ComboButton,
                                              quillet::model::OutputGroup::CheckBox, quillet::model::OutputGroup::WholeWindow})
        program.window().outputGroupBox(group)->setChecked(true);

    QStringList written;
    program.exporter().setWriteObserver([&written](const QString &path) { written.append(path); });

    double warmRss = 0;
    double warmHeap = 0;
    int badExports = 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 1; i <= exports; ++i) {
        program.window().formatBox()->setCurrentIndex((i - 1) % kFormats);
        written.clear();
        program.exporter().exportImages();
        if (written.size() != kImagesPerExport)
            ++badExports;
        for (const QString &path : std::as_const(written))
            QFile::remove(path);
        if (injectedBytes > 0) {
            injected.push_back(std::make_unique<char[]>(std::size_t(injectedBytes)));
            std::memset(injected.back().get(), 1, std::size_t(injectedBytes));
        }
        if (i == kWarmExports) {
            warmRss = residentMb();
            warmHeap = heapInUseMb();
        }
        if (i % kProgressEvery == 0)
            std::fprintf(stderr, "%d exports: %.1f MB resident, %.1f MB heap, %.0f ms per export\n", i,
                residentMb(), heapInUseMb(), double(clock.nsecsElapsed()) / kNsPerMs / i);
    }
    const double msPerExport = double(clock.nsecsElapsed()) / kNsPerMs / exports;
    const double endRss = residentMb();
    const double endHeap = heapInUseMb();
    const double growth = endRss - warmRss;
    const bool within = growth <= kLimitMb;

    row("soak: resident memory after 10 exports", warmRss, "MB",
        u"heap in use %1 MB"_s.arg(warmHeap, 0, 'f', 2));
    row(qPrintable(u"soak: resident memory after %1 exports"_s.arg(exports)), endRss, "MB",
        u"heap in use %1 MB"_s.arg(endHeap, 0, 'f', 2));
    row("soak: resident growth", growth, "MB",
        u"limit %1 MB: %2; heap growth %3 MB"_s.arg(kLimitMb)
            .arg(within ? u"within"_s : u"OVER"_s)
            .arg(endHeap - warmHeap, 0, 'f', 2));
    row("soak: time per export (4 groups, 11 images)", msPerExport, "ms",
        u"%1 export(s) wrote other than %2 files"_s.arg(badExports).arg(kImagesPerExport));
    return within && badExports == 0 ? 0 : 1;
}
