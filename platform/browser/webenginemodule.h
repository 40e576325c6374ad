#pragma once

#include <QString>

#include <memory>

namespace quillet::browser {

class BrowserBackend;

// The web-engine backend is a module beside the executable, so that the program links no
// web engine and pays for one only when a web page is asked for. A missing module, or a
// module that finds no helper process, leaves the caller without one; nothing else fails.
class WebEngineModule
{
public:
    // The one function the module exports: a new backend, or null with the reason set.
    static constexpr auto kEntryPoint = "quillet_webengine_create";
    using EntryPoint = BrowserBackend *(*)(QString *whyNot);

    static QString defaultPath();
    // Tests point the program at another module file (or at none).
    static void setPath(const QString &path);
    static QString path();

    // The web engine's helper program as the engine itself would find it, or empty.
    static QString helperProcess();

    static std::unique_ptr<BrowserBackend> create(QString *whyNot = nullptr);
};

} // namespace quillet::browser
