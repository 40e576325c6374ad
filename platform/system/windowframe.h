#pragma once

#include <QImage>
#include <QMargins>

#include <optional>

class QWindow;

namespace quillet::system {

// The frame a window manager puts around a top-level window, as the window system itself
// reports it; Qt's own idea of the frame lags behind the manager's until it has framed the
// window. Everything here answers "unknown" where there is no X11 window manager.
class WindowFrame
{
public:
    // The frame the manager has announced for this window (left, top, right, bottom).
    static std::optional<QMargins> announced(const QWindow *window);
    // Asks the manager which frame the window will get, before the window is mapped, and
    // waits at most timeoutMs for the answer.
    static std::optional<QMargins> requestBeforeMapping(QWindow *window, int timeoutMs);
    // The screen's picture of the window with its frame, as the user sees it; null when
    // the window is not shown whole and uncovered on the screen, so the screen would show
    // something else.
    static QImage grabFramed(QWindow *window);
};

} // namespace quillet::system
