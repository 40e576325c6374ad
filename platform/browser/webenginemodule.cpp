#include "platform/browser/webenginemodule.h"

#include "platform/browser/browserbackend.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QOpenGLContext>

// Qt's own setter of the context that QOpenGLContext::globalShareContext() returns; public
// headers do not declare it, the library exports it.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace quillet::browser {

namespace {

Q_LOGGING_CATEGORY(lcModule, "quillet.browser.module")

QString &overriddenPath()
{
    static QString path;
    return path;
}

// The web engine renders with a GL context shared with the application's. Made at start
// (Qt::AA_ShareOpenGLContexts) it costs every run a GL driver, tens of megabytes; made here,
// only runs that show a web page pay for it.
bool ensureSharedGlContext(QString &reason)
{
    if (QOpenGLContext::globalShareContext())
        return true;
    auto *context = new QOpenGLContext(QCoreApplication::instance());
    if (!context->create()) {
        delete context;
        reason = QStringLiteral("no OpenGL context for the web engine");
        return false;
    }
    qt_gl_set_global_share_context(context);
    return true;
}

BrowserBackend *load(const QString &path, QString &reason)
{
    // The library stays loaded for the rest of the run: the backend's code lives in it.
    auto *library = new QLibrary(path);
    if (!library->load()) {
        reason = library->errorString();
        delete library;
        return nullptr;
    }
    const auto entry = reinterpret_cast<WebEngineModule::EntryPoint>(library->resolve(WebEngineModule::kEntryPoint));
    if (!entry) {
        reason = QStringLiteral("%1 has no %2").arg(library->fileName(), QString::fromLatin1(WebEngineModule::kEntryPoint));
        return nullptr;
    }
    return entry(&reason);
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
    BrowserBackend *backend = nullptr;
    if (helperProcess().isEmpty())
        reason = QStringLiteral("the web engine's helper program QtWebEngineProcess is missing");
    else if (!QFileInfo::exists(path()))
        reason = QStringLiteral("no web-engine module at %1").arg(path());
    else if (ensureSharedGlContext(reason))
        backend = load(path(), reason);
    if (!backend)
        qCInfo(lcModule).noquote() << "web pages stay in the light panel:" << reason;
    if (whyNot)
        *whyNot = reason;
    return std::unique_ptr<BrowserBackend>(backend);
}

} // namespace quillet::browser
