#include "integration/pagethread.h"

#include "model/metrics.h"
#include "platform/browser/browserpanel.h"
#include "platform/form/intervaltimer.h"

#include <QMetaObject>

#include <thread>

namespace quillet::integration {

PageThread::PageThread(browser::BrowserPanel *panel, form::IntervalTimer *infoTimer)
    : m_targets(std::make_shared<Targets>())
{
    m_targets->panel = panel;
    m_targets->infoTimer = infoTimer;
}

PageThread::~PageThread()
{
    const std::lock_guard<std::mutex> guard(m_targets->lock);
    m_targets->panel = nullptr;
    m_targets->infoTimer = nullptr;
}

void PageThread::start(const QString &localPage)
{
    std::thread(&PageThread::body, m_targets, localPage).detach();
}

void PageThread::body(const std::shared_ptr<Targets> &targets, const QString &localPage)
{
    const std::lock_guard<std::mutex> guard(targets->lock);
    if (auto *panel = targets->panel) {
        QMetaObject::invokeMethod(
            panel, [panel, localPage] { panel->navigate(localPage); }, Qt::QueuedConnection);
    }
    if (auto *timer = targets->infoTimer) {
        QMetaObject::invokeMethod(
            timer, [timer] { timer->setInterval(model::Metrics::kInfoTimerIntervalMs); }, Qt::QueuedConnection);
    }
}

} // namespace quillet::integration
