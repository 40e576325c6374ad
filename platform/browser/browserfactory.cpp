#include "platform/browser/browserfactory.h"

#include "platform/browser/nullbackend.h"
#include "platform/browser/textbrowserbackend.h"
#if QUILLET_HAVE_WEBENGINE
#include "platform/browser/webenginebackend.h"
#endif

namespace quillet::browser {

bool BrowserFactory::hasWebEngine()
{
    return QUILLET_HAVE_WEBENGINE;
}

std::unique_ptr<BrowserBackend> BrowserFactory::create()
{
    const QByteArray wanted = qgetenv("QUILLET_BROWSER");
    if (wanted == "text")
        return create(Kind::Text);
    if (wanted == "null")
        return create(Kind::Null);
    return create(Kind::Best);
}

std::unique_ptr<BrowserBackend> BrowserFactory::create(Kind kind)
{
    switch (kind) {
    case Kind::Null:
        return std::make_unique<NullBackend>();
    case Kind::Text:
        return std::make_unique<TextBrowserBackend>();
    case Kind::Best:
        break;
    }
#if QUILLET_HAVE_WEBENGINE
    return std::make_unique<WebEngineBackend>();
#else
    return std::make_unique<TextBrowserBackend>();
#endif
}

} // namespace quillet::browser
