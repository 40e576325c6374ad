#pragma once

#include "platform/browser/browserbackend.h"

class QWebEngineView;

namespace quillet::browser {

class WebEngineBackend : public BrowserBackend
{
public:
    WebEngineBackend();
    ~WebEngineBackend() override;
    QWidget *widget() override;
    void navigate(const QString &address) override;
    QWebEngineView *view() const { return m_view; }

private:
    QWebEngineView *m_view;
};

} // namespace quillet::browser
