// The module's one entry point, looked up by name (see WebEngineModule).
#include "platform/browser/webenginebackend.h"

#include <QApplication>
#include <QOpenGLContext>

extern "C" Q_DECL_EXPORT quillet::browser::BrowserBackend *quillet_webengine_create(QString *whyNot)
{
    const auto refuse = [whyNot](const char *reason) -> quillet::browser::BrowserBackend * {
        if (whyNot)
            *whyNot = QString::fromLatin1(reason);
        return nullptr;
    };
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return refuse("the web-engine panel needs a widget application");
    // The engine renders with the application's shared GL context and crashes without one.
    if (!QOpenGLContext::globalShareContext())
        return refuse("no shared GL context for the web engine");
    return new quillet::browser::WebEngineBackend;
}
