#include "render/accentedskin.h"

#include "render/legibilitycheck.h"
#include "skin/accent.h"
#include "skin/legibility.h"

#include <array>
#include <utility>

namespace quillet::render::accent {

namespace {

// The push button states whose caption a picture shows, with the look that paints it.
constexpr std::array<std::pair<SampleState, skin::State>, 5> kCaptionStates { {
    { SampleState::Normal, skin::State::Normal },
    { SampleState::Hot, skin::State::Hot },
    { SampleState::Pressed, skin::State::Pressed },
    { SampleState::Disabled, skin::State::Disabled },
    { SampleState::Focused, skin::State::Focused },
} };

// The looks of the check box and the drop button whose mark or arrow a probe measures, by
// the probe's section name.
std::pair<skin::Element, skin::State> lookOf(const QString &section)
{
    const QString element = section.section(u'.', 0, 0);
    const QString state = section.section(u'.', 1);
    std::pair<skin::Element, skin::State> result { skin::Element::Button, skin::State::Normal };
    for (int e = 0; e < skin::kElementCount; ++e) {
        if (skin::Skin::elementName(skin::Element(e)) == element)
            result.first = skin::Element(e);
    }
    for (int s = 0; s < skin::kStateCount; ++s) {
        if (skin::Skin::stateName(skin::State(s)) == state)
            result.second = skin::State(s);
    }
    return result;
}

QString ratio(qreal contrast)
{
    return QString::number(contrast, 'f', 1) + QStringLiteral(":1");
}

} // namespace

skin::Skin accented(const skin::Skin &original, const QColor &accent, QStringList *notes)
{
    if (!accent.isValid())
        return original;
    skin::Skin out = skin::accent::recoloured(original, accent);
    const QString prefix = QStringLiteral("accent ") + accent.name() + QStringLiteral(": \"") + original.name()
        + QStringLiteral("\" ");
    const auto note = [&](const QString &line) {
        if (notes)
            notes->append(prefix + line);
    };

    // Marks, arrows and the focus indicator keep the skin's own colours where the accent
    // would leave them too faint.
    for (const LegibilityProbe &probe : legibility::measureSkin(out)) {
        if (probe.passes())
            continue;
        if (probe.glyph == u"focus ring") {
            skin::Look look = out.look(skin::Element::Button, skin::State::Focused);
            const skin::Look &own = original.look(skin::Element::Button, skin::State::Focused);
            look.focus = own.focus;
            look.border = own.border;
            look.highlight = own.highlight;
            out.setLook(skin::Element::Button, skin::State::Focused, look);
            note(QStringLiteral("focus keeps its own colours (") + ratio(probe.measure.contrast)
                + QStringLiteral(" would not show)"));
        } else if (probe.glyph != u"caption") {
            const auto [element, state] = lookOf(probe.section);
            skin::Look look = out.look(element, state);
            look.mark = original.look(element, state).mark;
            out.setLook(element, state, look);
            note(probe.section + u' ' + probe.glyph + QStringLiteral(" keeps ") + look.mark.name() + QStringLiteral(" (")
                + ratio(probe.measure.contrast) + QStringLiteral(" would not read)"));
        }
    }

    const QColor own = original.look(skin::Element::Window, skin::State::Normal).text;
    for (const auto &[sample, state] : kCaptionStates) {
        const LegibilityProbe probe = legibility::captionProbe(out, sample);
        if (probe.passes())
            continue;
        const skin::Look before = out.look(skin::Element::Button, state);
        // The skin's own caption colour first; then the extreme furthest from the face.
        const QColor extreme = skin::relativeLuminance(probe.measure.background.rgb()) > 0.18 ? QColor(Qt::black)
                                                                                             : QColor(Qt::white);
        QColor chosen = extreme;
        for (const QColor &candidate : { own, extreme }) {
            if (candidate.rgb() == before.text.rgb())
                continue;
            skin::Look look = before;
            look.text = candidate;
            look.textShadow = QColor();
            out.setLook(skin::Element::Button, state, look);
            if (legibility::captionProbe(out, sample).passes()) {
                chosen = candidate;
                break;
            }
        }
        skin::Look look = before;
        look.text = chosen;
        // A shadow made for the old caption would smear the new one.
        look.textShadow = QColor();
        out.setLook(skin::Element::Button, state, look);
        note(skin::Skin::stateName(state) + QStringLiteral(" caption now ") + chosen.name() + QStringLiteral(" (")
            + ratio(probe.measure.contrast) + QStringLiteral(" would not read)"));
    }
    return out;
}

} // namespace quillet::render::accent
