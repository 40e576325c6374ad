#pragma once

#include "kit/kitpieces.h"
#include "kit/kitsheet.h"
#include "kit/kitskin.h"
#include "kit/kittokens.h"
#include "kit/request.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

namespace quillet::kit {

// One skin of a kit as drawn: what the style sheets need of it, its pieces at each
// density and its token values.
struct Scheme
{
    KitSkin skin;
    QColor base; // the skin's base colour, what see-through pictures are encoded against
    // In the order of Model::ratios(): each drawn push button state cut from a button
    // kitpieces::kSliceWidth wide, and every check box state.
    QList<KitSheetSkin> byRatio;
    // The light scheme's with the tokens every scheme shares, the dark one's with its own only.
    QList<kittokens::Value> tokens;
};

// A kit drawn once from a request and its skins, for every target to write out. Nothing
// changes it after build().
class Model
{
public:
    // Draws every piece the request asks for. notes gets one line per skin whose pieces
    // differ from the renderer. A piece that cannot be drawn is a null picture, which the
    // target's encoder turns into empty bytes.
    static Model build(const Request &request, QStringList *notes = nullptr);
    // The same for a request whose densities are Target::defaultRatios: 1.5x is left out,
    // with a note, where the even caps it needs cost a skin its exactness at the others (a
    // dotted ring whose end lies an odd number of pixels from the face's edge); the browser
    // then scales the 2x pieces at 150 %.
    static Model buildByDefault(const Request &request, QStringList *notes = nullptr);

    const Request &request() const { return m_request; }
    // The class prefix, the default one where the request names none.
    QString prefix() const;
    int height() const { return m_request.height; }
    const QFont &font() const { return m_request.font; }
    const QList<qreal> &ratios() const { return m_request.ratios; }
    Layout layout() const { return m_request.layout; }
    bool focus() const { return m_request.focus; }

    // Light first, then the dark one when asked for.
    const QList<Scheme> &schemes() const { return m_schemes; }
    const Scheme &light() const { return m_schemes.first(); }
    const Scheme *dark() const { return m_schemes.size() > 1 ? &m_schemes[1] : nullptr; }

    // Whether the kit draws a push button state (focus only when asked for), and those it
    // draws in the order of the style sheet. The check box's are kitpieces::kCheckRows.
    bool draws(const StateRow &row) const;
    QList<StateRow> buttonStates() const;
    // Where every piece of every scheme lies on one sheet per density.
    const KitSheet &sheet() const { return m_sheet; }

private:
    Model() = default;

    Request m_request;
    QList<Scheme> m_schemes;
    KitSheet m_sheet;
};

} // namespace quillet::kit
