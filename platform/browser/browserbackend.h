#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace quillet::browser {

// One way of showing pages inside the browser panel. The web-engine backend lives in a
// module loaded at run time, so this interface stays header-only: both sides compile it.
class BrowserBackend
{
public:
    using LoadedHandler = std::function<void(bool ok)>;

    virtual ~BrowserBackend() = default;
    virtual QWidget *widget() = 0;
    // Loads and shows the address by itself; a local file path or a web address.
    virtual void navigate(const QString &address) = 0;
    // Called once per navigation when the page has loaded (or failed to).
    virtual void setLoadedHandler(LoadedHandler handler) = 0;
    // The title of the page shown, for diagnostics and tests.
    virtual QString title() const = 0;
};

} // namespace quillet::browser
