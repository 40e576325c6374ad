#include "platform/system/hostresolver.h"

#include <QHostAddress>
#include <QHostInfo>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace quillet::system {

namespace {

// Shared between the waiting caller and the lookup thread, which may outlive the wait.
struct PendingLookup
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    QString address;
};

} // namespace

HostResolver::HostResolver()
    : m_lookup(&HostResolver::systemLookup)
{
}

HostResolver::HostResolver(BlockingLookup lookup)
    : m_lookup(std::move(lookup))
{
}

QString HostResolver::systemLookup(const QString &name)
{
    const QHostInfo info = QHostInfo::fromName(name);
    if (info.error() != QHostInfo::NoError || info.addresses().isEmpty())
        return {};
    return info.addresses().constFirst().toString();
}

QString HostResolver::lookup(const QString &name, int timeoutMs) const
{
    if (name.isEmpty() || timeoutMs <= 0 || !m_lookup)
        return {};
    auto pending = std::make_shared<PendingLookup>();
    try {
        std::thread([pending, lookup = m_lookup, name] {
            QString address = lookup(name);
            const std::lock_guard lock(pending->mutex);
            pending->address = std::move(address);
            pending->done = true;
            pending->finished.notify_all();
        }).detach();
    } catch (const std::system_error &) {
        return {};
    }
    std::unique_lock lock(pending->mutex);
    if (!pending->finished.wait_for(
            lock, std::chrono::milliseconds(timeoutMs), [&] { return pending->done; }))
        return {};
    return pending->address;
}

} // namespace quillet::system
