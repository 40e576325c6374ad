// Skin list with 10,000 skin files: filling (folder search, events after each file,
// sort, list items) and the sort alone, for names presorted ascending, descending and
// shuffled. A first-element-pivot quicksort goes quadratic on presorted
// names; the target is under a second for each case.
#include "catalogue/skincatalogue.h"
#include "catalogue/skinorder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <limits>

using quillet::catalogue::SkinCatalogue;
using quillet::catalogue::SkinOrder;

namespace {

constexpr int kSkinCount = 10'000;
constexpr int kRuns = 3;
constexpr double kNsPerMs = 1e6;
constexpr quint32 kShuffleSeed = 7;

QStringList skinNames()
{
    QStringList names;
    names.reserve(kSkinCount);
    for (int i = 0; i < kSkinCount; ++i) {
        const QString number = QString::number(i).rightJustified(5, u'0');
        names.append(i % 2 ? QStringLiteral("Skin") + number + QStringLiteral(".an")
                           : QStringLiteral("青春") + number + QStringLiteral(".an"));
    }
    SkinOrder::sortDescending(names);
    std::reverse(names.begin(), names.end());
    return names;
}

// Share of neighbouring names in the order given that are already ascending.
double ascendingShare(const QStringList &names)
{
    if (names.size() < 2)
        return 0;
    qsizetype ascending = 0;
    for (qsizetype i = 1; i < names.size(); ++i)
        ascending += SkinOrder::compareKeys(SkinOrder::key(names[i - 1]), SkinOrder::key(names[i])) < 0;
    return double(ascending) / double(names.size() - 1);
}

double bestSortMs(const QStringList &input)
{
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < kRuns; ++run) {
        QStringList names = input;
        QElapsedTimer timer;
        timer.start();
        SkinOrder::sortDescending(names);
        best = std::min(best, timer.nsecsElapsed());
    }
    return double(best) / kNsPerMs;
}

struct FillResult
{
    double ms = 0;
    double listedAscending = 0;
    qsizetype entries = 0;
};

FillResult bestFill(const QStringList &creationOrder)
{
    QTemporaryDir dir;
    for (const QString &name : creationOrder) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return {};
    }
    FillResult result;
    result.ms = std::numeric_limits<double>::max();
    for (int run = 0; run < kRuns; ++run) {
        QStringList skinFiles;
        QListWidget list;
        QElapsedTimer timer;
        timer.start();
        SkinCatalogue::fill(dir.path(), skinFiles, &list, [] { QCoreApplication::processEvents(); });
        result.ms = std::min(result.ms, double(timer.nsecsElapsed()) / kNsPerMs);
        result.entries = list.count();
    }
    QStringList listed = QDir(dir.path()).entryList(QDir::Files, QDir::Unsorted);
    result.listedAscending = ascendingShare(listed);
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const QStringList ascending = skinNames();
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    QStringList shuffled = ascending;
    QRandomGenerator random(kShuffleSeed);
    std::shuffle(shuffled.begin(), shuffled.end(), random);

    std::printf("%d skin files, best of %d runs\n", kSkinCount, kRuns);
    std::printf(
        "%-12s %12s %14s %18s %10s\n", "input", "sort ms", "fill+sort ms", "listed ascending", "items");
    const std::pair<const char *, const QStringList *> cases[]
        = { { "ascending", &ascending }, { "descending", &descending }, { "shuffled", &shuffled } };
    for (const auto &[name, names] : cases) {
        const double sortMs = bestSortMs(*names);
        const FillResult fill = bestFill(*names);
        std::printf("%-12s %12.2f %14.2f %17.0f%% %10lld\n", name, sortMs, fill.ms,
            fill.listedAscending * 100, static_cast<long long>(fill.entries));
    }
    return 0;
}
