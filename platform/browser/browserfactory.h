#pragma once

#include <functional>
#include <memory>

namespace quillet::browser {

class BrowserBackend;

// Chooses the page engines of the browser panel: the light text browser shows local pages,
// the web engine (a module loaded on first need) shows web addresses. QUILLET_BROWSER=text
// keeps every page in the light engine, =null shows nothing (tests, benchmarks).
class BrowserFactory
{
public:
    enum class Kind { Best, Text, Null };
    using WebEngineSource = std::function<std::unique_ptr<BrowserBackend>()>;

    static Kind kindFromEnvironment();
    static std::unique_ptr<BrowserBackend> create(Kind kind);
    // Where the panel gets its web engine from; empty when this run must not load one.
    static WebEngineSource webEngineSource(Kind kind);
};

} // namespace quillet::browser
