#include "output/kitexport.h"

#include "catalogue/programpaths.h"
#include "catalogue/skincatalogue.h"
#include "model/appstate.h"
#include "pictures/kitbuild.h"
#include "pictures/kitcss.h"
#include "render/accentedskin.h"
#include "skin/skinparser.h"

#include <QFileInfo>

namespace quillet::output::kitexport {

QList<pictures::PlannedFile> plan(const model::AppState &state, const QFont &font, QString *problem)
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
    pictures::KitStyle style;
    style.height = state.buttonHeight;
    style.fontFamily = kitFont.family();
    style.pointSize = kitFont.pointSizeF();
    const pictures::KitSource light { render::accent::accented(skin::SkinParser::parseFile(path), state.accent,
                                          nullptr),
        catalogue::SkinCatalogue::displayName(file) };
    pictures::KitProblem drawProblem;
    QList<pictures::PlannedFile> files
        = pictures::kitbuild::files(light, std::nullopt, style, kitFont, nullptr, &drawProblem);
    *problem = drawProblem.message;
    return drawProblem.message.isEmpty() ? files : QList<pictures::PlannedFile>();
}

} // namespace quillet::output::kitexport
