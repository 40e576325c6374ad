// Push-button pictures drawn and encoded as PNG, every shipped skin x 25 captions x 4
// states, with an SVG icon (currentColor) on every picture and without: pictures per
// second of each and their quotient. The goal: with icons at least 0.7 times the rate
// without.
#include "model/statetable.h"
#include "pictures/picturebytes.h"
#include "platform/form/fontsetup.h"
#include "render/buttonrenderer.h"

#include "support/testicons.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;
using quillet::render::ButtonRenderer;
using quillet::render::RenderRequest;
using quillet::render::SampleState;

namespace {

constexpr int kCaptions = 25;
constexpr int kRounds = 3;
constexpr double kGoal = 0.7;

// Best of several rounds over every renderer; the byte count keeps the work observable.
double picturesPerSecond(
    const std::vector<ButtonRenderer> &renderers, const quillet::model::ButtonIcon &icon, qint64 &bytes)
{
    double best = 0;
    for (int round = 0; round < kRounds; ++round) {
        bytes = 0;
        int pictures = 0;
        QElapsedTimer timer;
        timer.start();
        for (const ButtonRenderer &renderer : renderers) {
            for (int i = 0; i < kCaptions; ++i) {
                for (const quillet::model::StateRow &row :
                    quillet::model::states::designerFiles(quillet::model::OutputGroup::ButtonStates, false)) {
                    const SampleState state = row.state;
                    RenderRequest request;
                    request.size = { 104, 24 };
                    request.caption = u"下载 "_s + QString::number(i);
                    request.font = QFont(u"宋体"_s, 9);
                    request.state = state;
                    request.icon = icon;
                    bytes += quillet::pictures::PictureBytes::opaque(
                        renderer.render(request), quillet::pictures::PictureFormat::Png, Qt::white)
                                 .size();
                    ++pictures;
                }
            }
        }
        best = std::max(best, pictures / (double(timer.nsecsElapsed()) / 1e9));
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    quillet::form::FontSetup::install();

    QTemporaryDir work;
    const QString svg = testicons::write(work.path(), u"download.svg"_s, testicons::glyphSvg());
    const QDir skins(QStringLiteral(QUILLET_SOURCE_DIR "/skins"));
    std::vector<ButtonRenderer> renderers;
    for (const QString &name : skins.entryList({ u"*.an"_s }, QDir::Files, QDir::Name))
        renderers.push_back(ButtonRenderer::fromSkinFile(skins.filePath(name)));
    if (svg.isEmpty() || renderers.empty())
        return 1;

    qint64 plainBytes = 0;
    qint64 iconBytes = 0;
    const double plain = picturesPerSecond(renderers, {}, plainBytes);
    const double withIcon = picturesPerSecond(renderers, { svg }, iconBytes);
    const double quotient = withIcon / plain;
    const QString setup = u"%1 skins x %2 captions x 4 states, PNG, best of %3"_s.arg(renderers.size())
                              .arg(kCaptions)
                              .arg(kRounds);
    std::printf("%s\t%.1f\t%s\t%s\n", "pictures per second, caption only", plain, "pictures/s",
        qPrintable(setup + u", %1 bytes"_s.arg(plainBytes)));
    std::printf("%s\t%.1f\t%s\t%s\n", "pictures per second, SVG icon and caption", withIcon, "pictures/s",
        qPrintable(setup + u", %1 bytes"_s.arg(iconBytes)));
    std::printf("%s\t%.3f\t%s\t%s\n", "icon pictures' rate / plain rate", quotient, "x",
        qPrintable(u"goal %1: %2"_s.arg(kGoal).arg(quotient >= kGoal ? u"met"_s : u"NOT met"_s)));
    return quotient >= kGoal ? 0 : 2;
}
