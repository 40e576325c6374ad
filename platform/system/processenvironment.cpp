#include "platform/system/processenvironment.h"

#include <QByteArray>
#include <QFileInfo>
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

std::unique_ptr<QTemporaryDir> ProcessEnvironment::provideRuntimeFolder()
{
    const QString named = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QFileInfo info(named);
    // Qt accepts only a folder of our own that nobody else may enter.
    const auto privateOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (!named.isEmpty() && info.isDir() && info.ownerId() == ::geteuid()
        && (info.permissions() & ~(privateOnly | QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser)) == 0)
        return nullptr;
    auto folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid())
        return nullptr;
    QFile::setPermissions(folder->path(), privateOnly);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder->path()));
    return folder;
}

} // namespace quillet::system
