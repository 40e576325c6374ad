#include "platform/system/processenvironment.h"

#include <QByteArray>
#include <QtGlobal>

#include <unistd.h>

namespace quillet::system {

bool ProcessEnvironment::runsAsRoot()
{
    return ::geteuid() == 0;
}

void ProcessEnvironment::prepare()
{
    // The layout gives fonts in points meant as 12 and 16 pixel heights (96 dpi); fix the
    // font resolution so captions and button images look the same on every screen.
    if (!qEnvironmentVariableIsSet("QT_FONT_DPI"))
        qputenv("QT_FONT_DPI", QByteArrayLiteral("96"));
    if (runsAsRoot() && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", QByteArrayLiteral("1"));
}

} // namespace quillet::system
