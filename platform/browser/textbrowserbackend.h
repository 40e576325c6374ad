#pragma once

#include "platform/browser/browserbackend.h"

#include <QTextBrowser>

namespace quillet::browser {

// Light panel: local HTML pages shown by QTextBrowser; web addresses open outside.
class TextBrowserBackend : public BrowserBackend
{
public:
    TextBrowserBackend();
    QWidget *widget() override { return &m_view; }
    void navigate(const QString &address) override;
    QTextBrowser &view() { return m_view; }

private:
    QTextBrowser m_view;
};

} // namespace quillet::browser
