#include "platform/system/displayprobe.h"

#include <QtGlobal>

#include <xcb/xcb.h>

namespace quillet::system::DisplayProbe {

QString unavailableReason()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    // Platforms that need no server (offscreen, minimal, vnc) are Qt's business.
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return {};
    if (platform.startsWith("wayland"))
        return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ? QStringLiteral("WAYLAND_DISPLAY is not set")
                                                              : QString();
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return QStringLiteral("DISPLAY is not set");
    int screen = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screen);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    return failed
        ? QStringLiteral("cannot connect to the X display \"") + qEnvironmentVariable("DISPLAY") + u'"'
        : QString();
}

} // namespace quillet::system::DisplayProbe
