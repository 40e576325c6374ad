// render::accent::accented for every shipped skin in six accents: the recolouring and the
// pixel measures that keep captions, marks and focus readable. One row per accent, best
// and mean per skin over three rounds; the designer calls it once per change of colour.
#include "platform/form/fontsetup.h"
#include "render/accentedskin.h"
#include "skin/skinparser.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    quillet::form::FontSetup::install();
    const QDir dir(QStringLiteral(QUILLET_SOURCE_DIR "/skins"));
    QList<quillet::skin::Skin> skins;
    for (const QString &name : dir.entryList({ QStringLiteral("*.an") }, QDir::Files, QDir::Name))
        skins << quillet::skin::SkinParser::parseFile(dir.filePath(name));
    std::printf("%-10s %12s %12s %12s  %s\n", "accent", "mean ms", "best ms", "worst ms", "worst skin");
    for (const char *name : { "#d32f2f", "#2e7d32", "#1565c0", "#6a1b9a", "#ef6c00", "#212121" }) {
        double total = 0, best = 1e300, worst = 0;
        QString worstSkin;
        int count = 0;
        for (int round = 0; round < 3; ++round) {
            for (const quillet::skin::Skin &skin : std::as_const(skins)) {
                QElapsedTimer clock;
                clock.start();
                const quillet::skin::Skin accented
                    = quillet::render::accent::accented(skin, QColor(QLatin1String(name)), nullptr);
                const double ms = double(clock.nsecsElapsed()) / 1e6;
                Q_UNUSED(accented);
                total += ms;
                best = std::min(best, ms);
                if (ms > worst) {
                    worst = ms;
                    worstSkin = skin.name();
                }
                ++count;
            }
        }
        std::printf(
            "%-10s %12.1f %12.1f %12.1f  %s\n", name, total / count, best, worst, qPrintable(worstSkin));
    }
    return 0;
}
