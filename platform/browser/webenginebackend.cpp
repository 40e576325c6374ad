#include "platform/browser/webenginebackend.h"

#include <QEvent>
#include <QQuickWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWindow>

namespace quillet::browser {

namespace {

// The container maps the host's window but does not show the host widget, which then
// never paints: the host follows the container's visibility and size.
class HostFollower : public QObject
{
public:
    HostFollower(QWidget *container, QWidget *host)
        : QObject(container)
        , m_host(host)
    {
        container->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *container = static_cast<QWidget *>(watched);
        switch (event->type()) {
        case QEvent::Show:
            m_host->resize(container->size());
            m_host->show();
            break;
        case QEvent::Hide:
            m_host->hide();
            break;
        case QEvent::Resize:
            m_host->resize(container->size());
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget *m_host;
};

} // namespace

WebEngineBackend::WebEngineBackend()
    : m_host(new QWidget)
    , m_view(new QWebEngineView(m_host))
{
    // A scene-graph child seen before the host's native window exists gives the host a GL
    // surface at once; the view's own one, which comes with its first page, then changes nothing.
    auto *surfaceSeed = new QQuickWidget(m_host);
    surfaceSeed->hide();
    auto *layout = new QVBoxLayout(m_host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_host->winId();
    // Never shown by itself: the container maps it as a child of the panel's window.
    m_container = QWidget::createWindowContainer(m_host->windowHandle());
    new HostFollower(m_container, m_host);
    QObject::connect(m_view, &QWebEngineView::loadFinished, m_view, [this](bool ok) {
        if (m_loaded)
            m_loaded(ok);
    });
}

WebEngineBackend::~WebEngineBackend()
{
    // The host's window goes first, so the container never holds a dead window.
    delete m_host;
    delete m_container.data();
}

QWidget *WebEngineBackend::widget()
{
    return m_container;
}

void WebEngineBackend::navigate(const QString &address)
{
    m_view->load(QUrl::fromUserInput(address));
}

void WebEngineBackend::setLoadedHandler(LoadedHandler handler)
{
    m_loaded = std::move(handler);
}

QString WebEngineBackend::title() const
{
    return m_view->title();
}

} // namespace quillet::browser
