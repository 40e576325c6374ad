#include "output/kitexport.h"

#include "catalogue/programpaths.h"
#include "catalogue/skincatalogue.h"
#include "kit/model.h"
#include "kit/targets.h"
#include "model/appstate.h"
#include "render/accentedskin.h"
#include "skin/skinparser.h"

#include <QFileInfo>

namespace quillet::output::kitexport {

QList<pictures::PlannedFile> plan(
    const model::AppState &state, const QFont &font, const QString &target, QString *problem)
{
    const int index = state.currentSkinIndex;
    if (index < 1 || index > state.skinFiles.size()) {
        *problem = QStringLiteral("no skin");
        return {};
    }
    const QString file = state.skinFiles.at(index - 1);
    const QString path = catalogue::ProgramPaths::skinFile(state.programFolder, file);
    if (!QFileInfo(path).isFile()) {
        *problem = QStringLiteral("the skin file is gone");
        return {};
    }
    // As the command reads "FAMILY SIZE": a family and a whole point size, nothing else.
    QFont kitFont(font.family());
    kitFont.setPointSize(font.pointSize());
    kit::Request request;
    request.target = target;
    request.height = state.buttonHeight;
    request.font = kitFont;
    request.light = { render::accent::accented(skin::SkinParser::parseFile(path), state.accent, nullptr),
        catalogue::SkinCatalogue::displayName(file) };
    const kit::Target *kitTarget = kit::targetlist::find(request.target);
    if (!kitTarget) {
        *problem = QStringLiteral("no kit target ") + target;
        return {};
    }
    // As the command without --scale.
    request.ratios = kitTarget->defaultRatios(request);
    kitTarget->fit(request);
    kit::Problem drawProblem;
    const QList<pictures::PlannedFile> files
        = kitTarget->files(kit::Model::buildByDefault(request), &drawProblem);
    *problem = drawProblem.message;
    return drawProblem.message.isEmpty() ? files : QList<pictures::PlannedFile>();
}

} // namespace quillet::output::kitexport
