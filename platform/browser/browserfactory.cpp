#include "platform/browser/browserfactory.h"

#include "platform/browser/nullbackend.h"
#include "platform/browser/textbrowserbackend.h"
#include "platform/browser/webenginemodule.h"

namespace quillet::browser {

BrowserFactory::Kind BrowserFactory::kindFromEnvironment()
{
    const QByteArray wanted = qgetenv("QUILLET_BROWSER");
    if (wanted == "text")
        return Kind::Text;
    if (wanted == "null")
        return Kind::Null;
    return Kind::Best;
}

std::unique_ptr<BrowserBackend> BrowserFactory::create(Kind kind)
{
    if (kind == Kind::Null)
        return std::make_unique<NullBackend>();
    return std::make_unique<TextBrowserBackend>();
}

BrowserFactory::WebEngineSource BrowserFactory::webEngineSource(Kind kind)
{
    if (kind != Kind::Best)
        return {};
    return [] { return WebEngineModule::create(); };
}

} // namespace quillet::browser
