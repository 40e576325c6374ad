#pragma once

#include <QImage>
#include <QList>

namespace quillet::pictures {

// One picture with the push button's states stacked top to bottom.
class SpriteSheet
{
public:
    static constexpr int kStates = 4;
    // With the focused state a fifth band under the four, so the others keep their offsets.
    static constexpr int kStatesWithFocus = 5;
    // The states in sheet order: normal, hot, pressed, disabled (, focused). All must be of
    // one size and ratio; otherwise, or with another count, a null picture.
    static QImage assemble(const QList<QImage> &states);
};

} // namespace quillet::pictures
