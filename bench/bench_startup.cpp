// Start-up to the first paint of the window and resident memory of the whole process tree,
// for the designer with the WebEngine panel, with the light text panel, and for a bare Qt
// window of the same size as the reference. Needs a real X server (run under xvfb-run).
//
// This program links the whole program library, WebEngine included, and the loader maps
// and relocates those libraries even for a bare window. The honest reference is a bare
// window built against Qt Widgets alone: give it with --bare-program PATH (scripts/bench.sh
// builds one); it must speak the child protocol below. The same-binary bare window is then
// shown as well, as the price of the linked libraries.
//
// The driver starts this same program once per run in a child mode and takes the time from
// just before the start of the child to the child's first paint of its top-level window, so
// loading the libraries counts. Once the child is settled (and the page loaded, for
// WebEngine) the driver sums VmRSS and Pss over the child and all its descendants; the
// WebEngine panel runs its pages in QtWebEngineProcess children.
//
// Output: one line per figure, "figure<TAB>value<TAB>unit<TAB>reference".
#include "app/designerprogram.h"
#include "platform/browser/browserpanel.h"
#include "platform/form/dialogs.h"
#include "platform/form/fontsetup.h"
#include "platform/system/networkprobe.h"
#include "platform/system/processenvironment.h"
#include "ui/designerwindow.h"
#include "benchservices.h"
#if QUILLET_HAVE_WEBENGINE
#include "platform/browser/webenginebackend.h"
#include <QWebEngineView>
#endif

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kDefaultRuns = 5;
// Past the designer's first preview tick (1000 ms after start), so its pictures count.
constexpr int kSettleMilliseconds = 1500;
constexpr int kChildTimeoutMilliseconds = 90'000;
constexpr int kLineTimeoutMilliseconds = 60'000;
constexpr int kExitTimeoutMilliseconds = 20'000;
constexpr double kNsPerMs = 1e6;
constexpr double kKbPerMb = 1024;
constexpr QSize kWindowSize { 800, 570 };

const char *const kChildFlag = "--child";

enum class Mode { Bare, BareLinked, Text, WebEngine };

struct ModeInfo
{
    Mode mode;
    const char *name;
    const char *label;
};

const ModeInfo kModes[] = {
    { Mode::Bare, "bare", "bare Qt window" },
    { Mode::BareLinked, "bare-linked", "bare Qt window, program libraries linked" },
    { Mode::Text, "text", "designer, light panel" },
    { Mode::WebEngine, "webengine", "designer, WebEngine panel" },
};

qint64 monotonicNs()
{
    // steady_clock is CLOCK_MONOTONIC, the same clock in parent and child.
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void say(const char *what, qint64 value)
{
    std::printf("%s %lld\n", what, static_cast<long long>(value));
    std::fflush(stdout);
}

// ---- child side ----

// Tells the driver when the window first paints and when the child has settled.
class Reporter : public QObject
{
public:
    Reporter(QWidget *window, bool waitForPage)
        : m_pageLoaded(!waitForPage)
    {
        window->installEventFilter(this);
    }

    void pageLoaded()
    {
        if (m_pageLoaded)
            return;
        m_pageLoaded = true;
        say("loaded", monotonicNs());
        settleIfDone();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_shown && event->type() == QEvent::Paint) {
            m_shown = true;
            say("shown", monotonicNs());
            watched->removeEventFilter(this);
            settleIfDone();
        }
        return false;
    }

private:
    void settleIfDone()
    {
        if (m_shown && m_pageLoaded)
            QTimer::singleShot(kSettleMilliseconds, this, [] { say("ready", monotonicNs()); });
    }

    bool m_shown = false;
    bool m_pageLoaded;
};

// Quits when the driver writes a line or closes the pipe.
void quitOnInput(QWidget *window)
{
    auto *notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [notifier, window] {
        char buffer[64];
        (void)::read(STDIN_FILENO, buffer, sizeof buffer);
        notifier->setEnabled(false);
        window->close();
        QCoreApplication::quit();
    });
    QTimer::singleShot(kChildTimeoutMilliseconds, qApp, [] { QCoreApplication::exit(2); });
}

int runChild(int argc, char **argv, Mode mode, const QString &programFolder, const QString &desktop)
{
    quillet::system::ProcessEnvironment::prepare();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);

    if (mode == Mode::Bare || mode == Mode::BareLinked) {
        QWidget window;
        window.resize(kWindowSize);
        Reporter reporter(&window, false);
        quitOnInput(&window);
        window.show();
        return QApplication::exec();
    }

    QApplication::setApplicationName(u"Quillet3.0"_s);
    quillet::form::FontSetup::install();
    AnsweringDialogs dialogs;
    dialogs.confirmAnswer = false;
    OfflineProbe probe;
    quillet::app::DesignerProgram program({ dialogs, probe, programFolder, desktop, u"quillet"_s });
    const bool waitForPage = mode == Mode::WebEngine;
    Reporter reporter(&program.window(), waitForPage);
    if (waitForPage) {
#if QUILLET_HAVE_WEBENGINE
        auto *engine = dynamic_cast<quillet::browser::WebEngineBackend *>(
            program.window().controls().WebBrowser1->backend());
        if (!engine) {
            std::fprintf(stderr, "the browser panel is not on WebEngine\n");
            return 1;
        }
        QObject::connect(engine->view(), &QWebEngineView::loadFinished, &reporter,
            [&reporter](bool) { reporter.pageLoaded(); });
#else
        std::fprintf(stderr, "built without WebEngine\n");
        return 1;
#endif
    }
    quitOnInput(&program.window());
    program.start();
    const int result = QApplication::exec();
    program.state().releaseAtExit();
    return result;
}

// ---- driver side ----

struct Memory
{
    double rssKb = 0;
    double pssKb = 0;
    int processes = 0;
};

// Value in kB of a "Key:   123 kB" line of a /proc status-like file, or 0.
double procField(const QString &path, const QByteArray &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toDouble();
    }
    return 0;
}

// Parent of every process; the command name may hold spaces and parentheses, so the fields
// are read after the last ')'.
QHash<qint64, qint64> parentsOfAll()
{
    QHash<qint64, qint64> parents;
    const QStringList entries = QDir(u"/proc"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        QFile stat(u"/proc/"_s + entry + u"/stat"_s);
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const qsizetype close = text.lastIndexOf(')');
        if (close < 0)
            continue;
        const QList<QByteArray> fields = text.mid(close + 2).split(' ');
        if (fields.size() > 1)
            parents.insert(pid, fields.at(1).toLongLong());
    }
    return parents;
}

Memory treeMemory(qint64 root)
{
    const QHash<qint64, qint64> parents = parentsOfAll();
    std::vector<qint64> tree { root };
    for (std::size_t i = 0; i < tree.size(); ++i) {
        for (auto it = parents.cbegin(); it != parents.cend(); ++it) {
            if (it.value() == tree[i])
                tree.push_back(it.key());
        }
    }
    Memory memory;
    for (const qint64 pid : tree) {
        const QString base = u"/proc/"_s + QString::number(pid);
        memory.rssKb += procField(base + u"/status"_s, "VmRSS:");
        memory.pssKb += procField(base + u"/smaps_rollup"_s, "Pss:");
        ++memory.processes;
    }
    return memory;
}

struct Run
{
    double startupMs = 0;
    double loadedMs = -1;
    Memory memory;
};

// Next "word value" line of the child, or nullopt when it ended or stayed silent.
std::optional<std::pair<QByteArray, qint64>> nextLine(QProcess &child)
{
    while (!child.canReadLine()) {
        if (child.state() == QProcess::NotRunning || !child.waitForReadyRead(kLineTimeoutMilliseconds))
            return std::nullopt;
    }
    const QList<QByteArray> parts = child.readLine().trimmed().split(' ');
    return std::make_pair(parts.value(0), parts.value(1).toLongLong());
}

std::optional<Run> runOnce(
    const ModeInfo &mode, const QString &program, const QString &programFolder, const QString &desktop)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (mode.mode == Mode::Text)
        environment.insert(u"QUILLET_BROWSER"_s, u"text"_s);
    else
        environment.remove(u"QUILLET_BROWSER"_s);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);

    const qint64 started = monotonicNs();
    child.start(
        program, { QString::fromLatin1(kChildFlag), QString::fromLatin1(mode.name), programFolder, desktop });
    Run run;
    bool ready = false;
    while (!ready) {
        const auto line = nextLine(child);
        if (!line)
            break;
        const double ms = double(line->second - started) / kNsPerMs;
        if (line->first == "shown")
            run.startupMs = ms;
        else if (line->first == "loaded")
            run.loadedMs = ms;
        else if (line->first == "ready")
            ready = true;
    }
    if (ready)
        run.memory = treeMemory(child.processId());
    child.write("quit\n");
    child.closeWriteChannel();
    if (!child.waitForFinished(kExitTimeoutMilliseconds)) {
        child.kill();
        child.waitForFinished();
    }
    if (!ready || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return std::nullopt;
    return run;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Summary
{
    double startupMs = 0;
    double fastestMs = 0;
    double slowestMs = 0;
    double loadedMs = -1;
    double rssMb = 0;
    double pssMb = 0;
    int processes = 0;
    int runs = 0;
};

std::optional<Summary> measure(const ModeInfo &mode, const QString &program, int runs,
    const QString &programFolder, const QString &desktop)
{
    std::vector<double> startup, loaded, rss, pss;
    int processes = 0;
    for (int i = 0; i < runs; ++i) {
        const std::optional<Run> run = runOnce(mode, program, programFolder, desktop);
        if (!run)
            return std::nullopt;
        startup.push_back(run->startupMs);
        if (run->loadedMs >= 0)
            loaded.push_back(run->loadedMs);
        rss.push_back(run->memory.rssKb / kKbPerMb);
        pss.push_back(run->memory.pssKb / kKbPerMb);
        processes = std::max(processes, run->memory.processes);
    }
    Summary summary;
    summary.startupMs = median(startup);
    summary.fastestMs = *std::min_element(startup.begin(), startup.end());
    summary.slowestMs = *std::max_element(startup.begin(), startup.end());
    summary.loadedMs = loaded.empty() ? -1 : median(loaded);
    summary.rssMb = median(rss);
    summary.pssMb = median(pss);
    summary.processes = processes;
    summary.runs = runs;
    return summary;
}

void row(const QString &figure, const QString &value, const char *unit, const QString &reference)
{
    std::printf("%s\t%s\t%s\t%s\n", qPrintable(figure), qPrintable(value), unit, qPrintable(reference));
    std::fflush(stdout);
}

QString number(double value, int decimals = 1)
{
    return QString::number(value, 'f', decimals);
}

int runDriver(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    int runs = kDefaultRuns;
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype runsAt = arguments.indexOf(u"--runs"_s);
    if (runsAt > 0)
        runs = std::max(1, arguments.value(runsAt + 1).toInt());
    const qsizetype bareAt = arguments.indexOf(u"--bare-program"_s);
    const QString bareProgram = bareAt > 0 ? arguments.value(bareAt + 1) : QString();
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        row(u"start-up to first paint"_s, u"skipped"_s, "-", u"no X display: run under xvfb-run"_s);
        return 0;
    }

    // A throw-away program folder, so the wind-down writes its settings and shortcut there.
    QTemporaryDir work;
    const QString programFolder = work.filePath(u"program"_s);
    const QString desktop = work.filePath(u"desktop"_s);
    copyFolder(QStringLiteral(QUILLET_SOURCE_DIR "/skins"), programFolder + u"/skins"_s);
    QDir().mkpath(programFolder + u"/sys"_s);
    QFile::copy(
        QStringLiteral(QUILLET_SOURCE_DIR "/sys/Untitled.htm"), programFolder + u"/sys/Untitled.htm"_s);
    QDir().mkpath(desktop);

    std::optional<Summary> bare;
    QString bareLabel;
    bool failed = false;
    for (const ModeInfo &mode : kModes) {
        const QString label = QString::fromLatin1(mode.label);
        if (mode.mode == Mode::Bare && bareProgram.isEmpty()) {
            row(u"start-up to first paint, "_s + label, u"not measured"_s, "-",
                u"no --bare-program given; the same-binary bare window is the reference"_s);
            continue;
        }
        if (mode.mode == Mode::WebEngine && !QUILLET_HAVE_WEBENGINE) {
            row(u"start-up to first paint, "_s + label, u"not built"_s, "-",
                u"configure with -DQUILLET_WEBENGINE=ON"_s);
            continue;
        }
        const QString program
            = mode.mode == Mode::Bare ? bareProgram : QCoreApplication::applicationFilePath();
        const std::optional<Summary> summary = measure(mode, program, runs, programFolder, desktop);
        if (!summary) {
            row(u"start-up to first paint, "_s + label, u"failed"_s, "-",
                u"the child did not settle or exit cleanly"_s);
            failed = true;
            continue;
        }
        const bool isReference = !bare && (mode.mode == Mode::Bare || mode.mode == Mode::BareLinked);
        const QString spread = u"median of %1, range %2-%3 ms"_s.arg(summary->runs)
                                   .arg(number(summary->fastestMs), number(summary->slowestMs));
        const auto against = [&](double value, double reference, const char *unit) {
            return u"%1 %2 %3 (x%4); "_s.arg(
                bareLabel, number(reference), QString::fromLatin1(unit), number(value / reference, 2));
        };
        const bool compare = !isReference;
        row(u"start-up to first paint, "_s + label, number(summary->startupMs), "ms",
            (compare ? against(summary->startupMs, bare->startupMs, "ms") : QString()) + spread);
        if (summary->loadedMs >= 0)
            row(u"start-up to local page loaded, "_s + label, number(summary->loadedMs), "ms",
                u"first paint at %1 ms"_s.arg(number(summary->startupMs)));
        const QString tree = u"%1 process(es)"_s.arg(summary->processes);
        row(u"resident memory (Pss), "_s + label, number(summary->pssMb), "MB",
            (compare ? against(summary->pssMb, bare->pssMb, "MB") : QString()) + tree);
        row(u"resident memory (VmRSS sum), "_s + label, number(summary->rssMb), "MB",
            (compare ? against(summary->rssMb, bare->rssMb, "MB") : QString())
                + u"shared pages counted in every process"_s);
        if (isReference) {
            bare = summary;
            bareLabel = label;
        }
    }
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 5 && qstrcmp(argv[1], kChildFlag) == 0) {
        for (const ModeInfo &mode : kModes) {
            if (qstrcmp(argv[2], mode.name) == 0)
                return runChild(
                    argc, argv, mode.mode, QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]));
        }
        return 1;
    }
    return runDriver(argc, argv);
}
