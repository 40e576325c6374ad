#pragma once

#include <QImage>
#include <QMargins>

namespace quillet::kit::androidninepatch {

// Where a nine-patch's guides go, in the pixels of the picture it is made from.
struct Guides
{
    // The run about the middle that repeats, shrunk to one period from stretchFrom on,
    // which the top guide marks: one column where every column is the same, so Android
    // widens exactly what repeats. The picture goes on from resumeAt, the right cap.
    int stretchFrom = 0;
    int period = 1;
    int resumeAt = 1;
    // The rows about the middle with the middle row's outline, [top, bottom): a taller view
    // stretches the face there, never its rounded or bevelled ends.
    int stretchTop = 0;
    int stretchBottom = 1;
};

// The guides for a see-through picture of a button drawn wider than any caps it has.
Guides find(const QImage &picture);

// The .9.png picture: the button with its repeating run shrunk to one period and the
// one-pixel guide ring around it. content is the caption's box, in device pixels from the
// button's edges; it is kept inside the picture and at least one pixel wide and high.
// ARGB32, guides opaque black on transparent, as Android's tools require.
QImage make(const QImage &picture, const QMargins &content);

} // namespace quillet::kit::androidninepatch
