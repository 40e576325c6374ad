#include "platform/browser/webenginemodule.h"

#include "platform/browser/browserbackend.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QLibraryInfo>
#include <QLoggingCategory>

namespace quillet::browser {

namespace {

Q_LOGGING_CATEGORY(lcModule, "quillet.browser.module")

QString &overriddenPath()
{
    static QString path;
    return path;
}

} // namespace

QString WebEngineModule::defaultPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/quillet_webengine.so");
}

void WebEngineModule::setPath(const QString &path)
{
    overriddenPath() = path;
}

QString WebEngineModule::path()
{
    return overriddenPath().isEmpty() ? defaultPath() : overriddenPath();
}

QString WebEngineModule::helperProcess()
{
    const auto runnable = [](const QString &file) {
        const QFileInfo info(file);
        return info.isFile() && info.isExecutable();
    };
    // The engine takes a set variable as final and ends the program when it is wrong.
    if (qEnvironmentVariableIsSet("QTWEBENGINE_PROCESS_PATH")) {
        const QString given = qEnvironmentVariable("QTWEBENGINE_PROCESS_PATH");
        return runnable(given) ? given : QString();
    }
    const QString name = QStringLiteral("/QtWebEngineProcess");
    for (const QString &folder :
         {QCoreApplication::applicationDirPath(), QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath)}) {
        if (runnable(folder + name))
            return folder + name;
    }
    return {};
}

std::unique_ptr<BrowserBackend> WebEngineModule::create(QString *whyNot)
{
    QString reason;
    if (helperProcess().isEmpty()) {
        reason = QStringLiteral("the web engine's helper program QtWebEngineProcess is missing");
        qCInfo(lcModule).noquote() << "web pages stay in the light panel:" << reason;
        if (whyNot)
            *whyNot = reason;
        return nullptr;
    }
    // The library stays loaded for the rest of the run: the backend's code lives in it.
    auto *library = new QLibrary(path());
    EntryPoint entry = nullptr;
    if (library->load())
        entry = reinterpret_cast<EntryPoint>(library->resolve(kEntryPoint));
    else
        reason = library->errorString();
    if (library->isLoaded() && !entry)
        reason = QStringLiteral("%1 has no %2").arg(library->fileName(), QString::fromLatin1(kEntryPoint));
    BrowserBackend *backend = entry ? entry(&reason) : nullptr;
    if (!library->isLoaded())
        delete library;
    if (!backend)
        qCInfo(lcModule).noquote() << "web pages stay in the light panel:" << reason;
    if (whyNot)
        *whyNot = reason;
    return std::unique_ptr<BrowserBackend>(backend);
}

} // namespace quillet::browser
