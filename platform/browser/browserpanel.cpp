#include "platform/browser/browserpanel.h"

#include "platform/browser/browserbackend.h"
#include "platform/browser/browserfactory.h"

#include <QFileInfo>
#include <QVBoxLayout>

namespace quillet::browser {

BrowserPanel::BrowserPanel(QWidget *parent)
    : BrowserPanel(BrowserFactory::create(), parent)
{
}

BrowserPanel::BrowserPanel(std::unique_ptr<BrowserBackend> backend, QWidget *parent)
    : QWidget(parent)
    , m_backend(std::move(backend))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (m_backend)
        layout->addWidget(m_backend->widget());
}

BrowserPanel::~BrowserPanel() = default;

void BrowserPanel::navigate(const QString &address)
{
    m_requested = address;
    Q_EMIT navigationRequested(address);
    if (m_backend)
        m_backend->navigate(address);
}

QUrl BrowserPanel::urlFor(const QString &address)
{
    if (QFileInfo(address).isAbsolute())
        return QUrl::fromLocalFile(address);
    return QUrl::fromUserInput(address);
}

} // namespace quillet::browser
