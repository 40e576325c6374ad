#pragma once

#include "platform/browser/browserbackend.h"

#include <QPointer>

class QWebEngineView;
class QWidget;

namespace quillet::browser {

// The web-engine panel, built into its own module. The view renders through the scene
// graph, and a widget like that makes Qt give its top-level window a new native surface,
// which re-creates the window. So the view lives in a window of its own, created with a
// GL surface from the start, and that window is embedded in the panel: the designer
// window keeps its one native window.
class WebEngineBackend : public BrowserBackend
{
public:
    WebEngineBackend();
    ~WebEngineBackend() override;
    QWidget *widget() override;
    void navigate(const QString &address) override;
    void setLoadedHandler(LoadedHandler handler) override;
    QString title() const override;
    QWebEngineView *view() const { return m_view; }

private:
    QWidget *m_host;
    QWebEngineView *m_view;
    QPointer<QWidget> m_container;
    LoadedHandler m_loaded;
};

} // namespace quillet::browser
