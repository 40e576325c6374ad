#pragma once

#include <QImage>
#include <QSize>

class QWidget;

namespace quillet::form {

// A picture of a whole top-level window, frame and title bar included, as the user sees it.
class WindowPicture
{
public:
    // Exactly `outer` pixels. Taken from the screen when the window shows there whole and
    // uncovered; otherwise the client area is painted into a frame drawn in the window's
    // own colours where the manager's frame would be.
    static QImage take(QWidget *window, const QSize &outer);

    // The frame stand-in alone, around a client area at frame's top-left corner.
    static void drawFrame(QImage &picture, const QWidget *window, const QMargins &frame);
};

} // namespace quillet::form
