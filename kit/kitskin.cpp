#include "kit/kitskin.h"

#include <QStringList>

namespace quillet::kit::kitskin {

KitSkin read(const skin::Skin &skin, const QString &name, int height)
{
    KitSkin kit;
    kit.name = name;
    kit.page = skin.base();
    kit.focus = skin.look(skin::Element::Button, skin::State::Focused).focus;
    const skin::Look &normal = skin.look(skin::Element::Button, skin::State::Normal);
    // A picture's corners are in its pixels; the painter rounds at most the face's half height.
    const int face = height - normal.margin.top() - normal.margin.bottom();
    kit.radius = normal.image.isEmpty() ? qBound(0, normal.radius, face / 2) : 0;
    for (const StateRow &row : kitpieces::kButtonRows) {
        const skin::Look &look = skin.look(skin::Element::Button, row.look);
        kit.captions.append({ look.text.isValid() ? look.text : QColor(Qt::black), look.textShift,
            look.margin + look.padding });
    }
    return kit;
}

QString inexactNote(const KitSkin &skin)
{
    const KitSlice &slice = skin.slice;
    QStringList states;
    for (const StateRow &row : kitpieces::kButtonRows) {
        const int difference = slice.stateDifference[size_t(row.cascade)];
        if (difference > 0)
            states.append(row.word + u' ' + QString::number(difference));
    }
    return skin.name
        + QStringLiteral(": the face changes along its width; the pieces differ from the renderer's "
                         "picture by up to %1 levels (%2; the most at width %3, %4x)")
              .arg(slice.worstDifference)
              .arg(states.join(QStringLiteral(", ")))
              .arg(slice.worstWidth)
              .arg(slice.worstRatio);
}

} // namespace quillet::kit::kitskin
