// Time to write a kit of every shipped skin with --scale 1,2,3 --webp --focus, one
// "quillet kit" process per skin as a web team would run it, summed; best of three rounds.
// The program is this build's own unless --program PATH names another build's quillet
// (with its skins/ beside it), so that two builds are compared on one machine in one run.
//
// Output: one line per figure, "figure<TAB>value<TAB>unit<TAB>reference".
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int kRounds = 3;

// Milliseconds for one round over every skin; negative when a kit failed.
double round(const QString &program, const QStringList &skins, const QString &out)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString &skin : skins) {
        QProcess kit;
        kit.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        kit.start(program,
            { u"kit"_s, u"--skin"_s, skin, u"--scale"_s, u"1,2,3"_s, u"--webp"_s, u"--focus"_s, u"--out"_s,
                out + u'/' + QString::number(skins.indexOf(skin)) });
        if (!kit.waitForFinished(600000) || kit.exitStatus() != QProcess::NormalExit || kit.exitCode() != 0) {
            std::fprintf(stderr, "kit of %s failed\n", qPrintable(skin));
            return -1;
        }
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype given = arguments.indexOf(u"--program"_s);
    const QString program = given > 0 && given + 1 < arguments.size()
        ? arguments[given + 1]
        : QCoreApplication::applicationDirPath() + u"/quillet"_s;
    QStringList skins;
    for (const QFileInfo &file : QDir(QFileInfo(program).dir().filePath(u"skins"_s)).entryInfoList({ u"*.an"_s }))
        skins << file.completeBaseName();
    if (skins.isEmpty()) {
        std::fprintf(stderr, "no skins beside %s\n", qPrintable(program));
        return 1;
    }
    double best = 1e300;
    for (int i = 0; i < kRounds; ++i) {
        QTemporaryDir out;
        const double ms = round(program, skins, out.path());
        if (ms < 0)
            return 1;
        best = std::min(best, ms);
    }
    std::printf("kit of every shipped skin (%lld), --scale 1,2,3 --webp --focus\t%.0f\tms\tbest of %d rounds; %s\n",
        static_cast<long long>(skins.size()), best, kRounds, qPrintable(program));
    return 0;
}
