#include "kit/model.h"

#include "model/metrics.h"

#include "render/buttonrenderer.h"
#include <algorithm>

namespace quillet::kit {

namespace {

Scheme drawScheme(const Source &source, const Request &request, const QList<StateRow> &drawn)
{
    const render::ButtonRenderer renderer(source.skin);
    Scheme result;
    result.skin = kitskin::read(source.skin, source.name, request.height);
    result.base = source.skin.base();
    KitDrawing drawing { &renderer, request.height, request.font, {} };
    for (const StateRow &row : drawn)
        drawing.states.append(row.state);
    result.skin.slice = kitpieces::slice(drawing, request.ratios);
    for (qreal ratio : request.ratios) {
        KitSheetSkin drawnAt;
        drawnAt.slice = result.skin.slice;
        for (const StateRow &row : drawn)
            drawnAt.pieces[size_t(row.cascade)] = kitpieces::cut(
                kitpieces::blankButton(drawing, row.state, kitpieces::kSliceWidth, ratio), result.skin.slice);
        // A 13-pixel check box has no 1.5x picture; the browser scales the nearest one.
        for (const StateRow &row : kitpieces::kCheckRows) {
            if (kitpieces::whole(model::Metrics::kCheckSide, ratio))
                drawnAt.checks[size_t(row.cascade)] = kitpieces::checkBox(renderer, row.state, ratio);
        }
        result.byRatio.append(drawnAt);
    }
    return result;
}

} // namespace

Model Model::build(const Request &request, QStringList *notes)
{
    Model model;
    model.m_request = request;
    const QList<StateRow> drawn = model.buttonStates();
    model.m_schemes.append(drawScheme(request.light, request, drawn));
    if (request.dark)
        model.m_schemes.append(drawScheme(*request.dark, request, drawn));
    std::array<bool, kitpieces::kButtonRows.size()> shown {};
    QList<KitSlice> slices;
    for (qsizetype i = 0; i < model.m_schemes.size(); ++i) {
        Scheme &scheme = model.m_schemes[i];
        scheme.tokens = kittokens::values(request, scheme.skin, i == 0);
        slices.append(scheme.skin.slice);
        if (!scheme.skin.slice.exact && notes)
            notes->append(kitskin::inexactNote(scheme.skin));
    }
    for (const StateRow &row : drawn)
        shown[size_t(row.cascade)] = true;
    model.m_sheet = kitsheet::layout(slices, request.height, shown, kitpieces::unitOf(request.ratios));
    return model;
}

Model Model::buildByDefault(const Request &request, QStringList *notes)
{
    QStringList drawnNotes;
    Model model = build(request, &drawnNotes);
    const auto exact = [](const Model &kit) {
        return std::all_of(kit.schemes().begin(), kit.schemes().end(),
            [](const Scheme &scheme) { return scheme.skin.slice.exact; });
    };
    Request whole = request;
    whole.ratios.removeAll(1.5);
    QStringList wholeNotes;
    if (!exact(model) && whole.ratios.size() < request.ratios.size()) {
        Model wholeModel = build(whole, &wholeNotes);
        if (exact(wholeModel)) {
            for (const Scheme &scheme : model.schemes()) {
                const KitSlice &slice = scheme.skin.slice;
                if (!slice.exact && notes)
                    notes->append(scheme.skin.name
                        + QStringLiteral(
                            ": no 1.5x pieces: with them the even caps would take the pictures %1 levels "
                            "from the renderer's (at width %2, %3x); --scale 1,1.5,2,3 asks for them")
                              .arg(slice.worstDifference)
                              .arg(slice.worstWidth)
                              .arg(slice.worstRatio));
            }
            if (notes)
                *notes += wholeNotes;
            return wholeModel;
        }
    }
    if (notes)
        *notes += drawnNotes;
    return model;
}

QString Model::prefix() const
{
    return m_request.prefix.isEmpty() ? kDefaultPrefix.toString() : m_request.prefix;
}

bool Model::draws(const StateRow &row) const
{
    return requests::draws(m_request, row);
}

QList<StateRow> Model::buttonStates() const
{
    QList<StateRow> rows;
    for (const StateRow &row : kitpieces::kButtonRows) {
        if (draws(row))
            rows.append(row);
    }
    return rows;
}

} // namespace quillet::kit
