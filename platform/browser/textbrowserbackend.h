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
    void setLoadedHandler(LoadedHandler handler) override { m_loaded = std::move(handler); }
    QString title() const override { return m_view.documentTitle(); }
    QTextBrowser &view() { return m_view; }

    // What QTextBrowser's HTML subset cannot take from a page's own style sheet.
    static QString styleSheet();

private:
    void sizeHeadings();

    QTextBrowser m_view;
    LoadedHandler m_loaded;
};

} // namespace quillet::browser
