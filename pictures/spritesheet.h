#pragma once

#include <QImage>
#include <QList>

// One picture with the push button's states stacked top to bottom.
namespace quillet::pictures::SpriteSheet {

// The bands in sheet order (states::spriteBands: normal, hot, pressed, disabled, then the
// focused one when asked for, so the others keep their offsets). All must be of one size and
// ratio; otherwise, or with another count, a null picture.
QImage assemble(const QList<QImage> &bands);

} // namespace quillet::pictures::SpriteSheet
