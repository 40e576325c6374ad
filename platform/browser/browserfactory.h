#pragma once

#include <memory>

namespace quillet::browser {

class BrowserBackend;

// Chooses the page engine: Qt WebEngine where the build has it, else the light
// text browser. QUILLET_BROWSER=text|null picks another one at run time (tests, benchmarks).
class BrowserFactory
{
public:
    enum class Kind { Best, Text, Null };
    static std::unique_ptr<BrowserBackend> create();
    static std::unique_ptr<BrowserBackend> create(Kind kind);
    static bool hasWebEngine();
};

} // namespace quillet::browser
