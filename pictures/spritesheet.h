#pragma once

#include <QImage>
#include <QList>

namespace quillet::pictures {

// One picture with the push button's states stacked top to bottom.
class SpriteSheet
{
public:
    static constexpr int kStates = 4;
    // The states in sheet order: normal, hot, pressed, disabled. All must be of one size
    // and ratio; otherwise, or with a count other than kStates, a null picture.
    static QImage assemble(const QList<QImage> &states);
};

} // namespace quillet::pictures
