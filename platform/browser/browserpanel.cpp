#include "platform/browser/browserpanel.h"

#include "platform/browser/browserbackend.h"

#include <QEvent>
#include <QFileInfo>
#include <QStackedLayout>
#include <QTimer>
#include <QWindow>

#include <utility>

namespace quillet::browser {

BrowserPanel::BrowserPanel(QWidget *parent)
    : BrowserPanel(BrowserFactory::create(BrowserFactory::kindFromEnvironment()),
                   BrowserFactory::webEngineSource(BrowserFactory::kindFromEnvironment()), parent)
{
}

BrowserPanel::BrowserPanel(std::unique_ptr<BrowserBackend> light, BrowserFactory::WebEngineSource webEngine,
                           QWidget *parent)
    : QWidget(parent)
    , m_stack(new QStackedLayout(this))
    , m_light(std::move(light))
    , m_webSource(std::move(webEngine))
{
    m_stack->setContentsMargins(0, 0, 0, 0);
    if (m_light) {
        m_light->setLoadedHandler([this](bool ok) { Q_EMIT pageLoaded(ok); });
        m_stack->addWidget(m_light->widget());
        m_current = m_light.get();
    }
}

BrowserPanel::~BrowserPanel()
{
    // The backends hand out widgets that live in this panel: they go before its children.
    m_web.reset();
    m_light.reset();
}

void BrowserPanel::navigate(const QString &address)
{
    m_requested = address;
    Q_EMIT navigationRequested(address);
    // Parsing the page and loading its fonts is no part of the window's first picture.
    QWindow *surface = window()->windowHandle();
    if (isVisible() && surface && !surface->isExposed()) {
        if (m_pending.isEmpty())
            surface->installEventFilter(this);
        m_pending = address;
        return;
    }
    m_pending.clear();
    load(address);
}

bool BrowserPanel::eventFilter(QObject *watched, QEvent *event)
{
    auto *surface = qobject_cast<QWindow *>(watched);
    if (event->type() == QEvent::Expose && surface && surface->isExposed()) {
        surface->removeEventFilter(this);
        // The expose paints the window right after this filter; the page comes next.
        QTimer::singleShot(0, this, [this] {
            if (!m_pending.isEmpty())
                load(std::exchange(m_pending, QString()));
        });
    }
    return QWidget::eventFilter(watched, event);
}

void BrowserPanel::load(const QString &address)
{
    BrowserBackend *target = m_light.get();
    if (isWebAddress(urlFor(address))) {
        if (BrowserBackend *web = webEngine())
            target = web;
    }
    if (!target)
        return;
    showBackend(target);
    target->navigate(address);
}

BrowserBackend *BrowserPanel::webEngine()
{
    if (m_web || m_webFailed || !m_webSource)
        return m_web.get();
    m_web = m_webSource();
    if (!m_web) {
        m_webFailed = true;
        return nullptr;
    }
    m_web->setLoadedHandler([this](bool ok) { Q_EMIT pageLoaded(ok); });
    m_stack->addWidget(m_web->widget());
    return m_web.get();
}

void BrowserPanel::showBackend(BrowserBackend *backend)
{
    m_current = backend;
    m_stack->setCurrentWidget(backend->widget());
}

QUrl BrowserPanel::urlFor(const QString &address)
{
    if (QFileInfo(address).isAbsolute())
        return QUrl::fromLocalFile(address);
    return QUrl::fromUserInput(address);
}

bool BrowserPanel::isWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

} // namespace quillet::browser
