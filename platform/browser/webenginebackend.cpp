#include "platform/browser/webenginebackend.h"

#include "platform/browser/browserpanel.h"

#include <QWebEngineView>

namespace quillet::browser {

WebEngineBackend::WebEngineBackend()
    : m_view(new QWebEngineView)
{
}

// The panel's layout owns the view once it is shown; delete it only if it never was.
WebEngineBackend::~WebEngineBackend()
{
    if (m_view && !m_view->parent())
        delete m_view;
}

QWidget *WebEngineBackend::widget()
{
    return m_view;
}

void WebEngineBackend::navigate(const QString &address)
{
    m_view->load(BrowserPanel::urlFor(address));
}

} // namespace quillet::browser
