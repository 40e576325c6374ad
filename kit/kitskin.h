#pragma once

#include "kit/kitpieces.h"

#include <QColor>
#include <QList>
#include <QMargins>
#include <QPoint>
#include <QString>

namespace quillet::kit {

// What one skin gives a kit: the slice, and per push button state the caption's colour,
// shift and box.
struct KitSkin
{
    QString name;
    KitSlice slice;
    QColor page; // the skin's base colour, behind the demo
    QColor focus; // invalid where the skin has none
    int radius = 0; // 0 for a picture face or square corners
    struct Caption
    {
        QColor colour;
        QPoint shift;
        QMargins box; // margin plus padding of the state's look
    };
    // By the cascade of kitpieces::kButtonRows.
    QList<Caption> captions;
};

namespace kitskin {

// What the kit takes from a skin besides its pieces: captions, focus colour and, for a
// drawn face (not a picture), its corner radius at the kit's height. The slice is left.
KitSkin read(const skin::Skin &skin, const QString &name, int height);
// For a skin whose pieces do not give the renderer's picture: which skin, how far off, where.
QString inexactNote(const KitSkin &skin);

} // namespace kitskin

} // namespace quillet::kit
