#include "render/accentedskin.h"

#include "model/statetable.h"
#include "render/legibilitycheck.h"
#include "skin/accent.h"
#include "skin/legibility.h"

#include <QMap>

#include <utility>

namespace quillet::render::accent {

namespace {

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

// Black or white, whichever stands further from the ground.
QColor extremeFor(const QColor &ground)
{
    return skin::contrastRatio(qRgb(0, 0, 0), ground.rgb())
            >= skin::contrastRatio(qRgb(255, 255, 255), ground.rgb())
        ? QColor(Qt::black)
        : QColor(Qt::white);
}

// A glyph the accent made too faint, and the colour it takes instead.
struct Change
{
    QString what; // "hot caption", "check.checked mark"
    qreal contrast; // with the accent's colours
    QColor colour; // invalid: the skin's own colours came back
};

} // namespace

skin::Skin accented(const skin::Skin &original, const QColor &accent, QStringList *notes)
{
    if (!accent.isValid())
        return original;
    skin::Skin out = skin::accent::recoloured(original, accent);
    QList<Change> changes;

    if (const LegibilityProbe probe = legibility::worstFocusProbe(out); !probe.passes()) {
        skin::Look look = out.look(skin::Element::Button, skin::State::Focused);
        const skin::Look &own = original.look(skin::Element::Button, skin::State::Focused);
        look.focus = own.focus;
        look.border = own.border;
        look.highlight = own.highlight;
        out.setLook(skin::Element::Button, skin::State::Focused, look);
        changes.append({ QStringLiteral("focus ring"), probe.measure.contrast, QColor() });
    }

    QList<LegibilityProbe> probes = legibility::measureGlyphs(out);

    // Marks and arrows: the skin's own colour first, then black or white; each round
    // measured anew on pixels.
    QMap<QString, qreal> before; // sorted, so the notes come in one order
    for (int round = 0; round < 2; ++round) {
        bool changed = false;
        for (const LegibilityProbe &probe : std::as_const(probes)) {
            if (probe.passes() || probe.glyph == u"caption")
                continue;
            const auto [element, state] = lookOf(probe.section);
            skin::Look look = out.look(element, state);
            const QColor own = original.look(element, state).mark;
            const QColor next = round == 0 && own != look.mark ? own : extremeFor(probe.measure.background);
            if (next == look.mark)
                continue;
            before.insert(probe.section + u' ' + probe.glyph, probe.measure.contrast);
            look.mark = next;
            out.setLook(element, state, look);
            changed = true;
        }
        if (!changed)
            break;
        probes = legibility::measureGlyphs(out);
    }
    for (auto it = before.constBegin(); it != before.constEnd(); ++it) {
        const auto [element, state] = lookOf(it.key().section(u' ', 0, 0));
        changes.append({ it.key(), it.value(), out.look(element, state).mark });
    }

    for (const model::StateRow &row : model::states::rows(model::OutputGroup::ButtonStates)) {
        const skin::State state = row.look;
        const LegibilityProbe probe = legibility::captionProbe(out, row.state);
        if (probe.passes())
            continue;
        const skin::Look was = out.look(skin::Element::Button, state);
        // The skin's own caption when it reads, else black or white, whichever reads better
        // over the whole glyph: on a glossy face the median ground can call for white where
        // the upper half of the strokes lies on a pale band.
        const auto measuredWith = [&](const QColor &candidate) {
            skin::Look look = was;
            look.text = candidate;
            // A shadow made for the old caption would smear the new one.
            look.textShadow = QColor();
            out.setLook(skin::Element::Button, state, look);
            return legibility::captionProbe(out, row.state);
        };
        const QColor ownCaption = original.look(skin::Element::Button, state).text;
        QColor chosen;
        if (ownCaption.isValid() && ownCaption != was.text && measuredWith(ownCaption).passes()) {
            chosen = ownCaption;
        } else {
            const qreal black = measuredWith(Qt::black).measure.contrast;
            const qreal white = measuredWith(Qt::white).measure.contrast;
            chosen = black >= white ? QColor(Qt::black) : QColor(Qt::white);
        }
        skin::Look look = was;
        look.text = chosen;
        look.textShadow = QColor();
        out.setLook(skin::Element::Button, state, look);
        changes.append(
            { skin::Skin::stateName(state) + QStringLiteral(" caption"), probe.measure.contrast, chosen });
    }

    if (notes) {
        const QString prefix = QStringLiteral("accent ") + accent.name() + QStringLiteral(": \"")
            + original.name() + QStringLiteral("\" ");
        for (const Change &change : std::as_const(changes)) {
            notes->append(prefix + change.what
                + (change.colour.isValid()
                        ? QString(QStringLiteral(" now ") + change.colour.name() + QStringLiteral(" (")
                            + ratio(change.contrast) + QStringLiteral(" would not read)"))
                        : QString(QStringLiteral(" keeps the skin's own colours (") + ratio(change.contrast)
                            + QStringLiteral(" would not show)"))));
        }
    }
    return out;
}

} // namespace quillet::render::accent
