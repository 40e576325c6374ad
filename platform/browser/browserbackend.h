#pragma once

#include <QString>

class QWidget;

namespace quillet::browser {

// One way of showing pages inside the browser panel.
class BrowserBackend
{
public:
    virtual ~BrowserBackend() = default;
    virtual QWidget *widget() = 0;
    // Loads and shows the address by itself; a local file path or a web address.
    virtual void navigate(const QString &address) = 0;
};

} // namespace quillet::browser
