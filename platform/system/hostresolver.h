#pragma once

#include <QString>

#include <functional>

namespace quillet::system {

// Resolves a host name with a bound on the wait. The blocking lookup runs on a thread of
// its own; when the bound passes first, the caller gets an empty answer at once and the
// late result is dropped. No events are processed while waiting.
class HostResolver
{
public:
    static constexpr int DefaultTimeoutMs = 3000;

    using BlockingLookup = std::function<QString(const QString &)>;

    HostResolver();
    // For tests: a stand-in for the system's lookup.
    explicit HostResolver(BlockingLookup lookup);

    QString lookup(const QString &name, int timeoutMs = DefaultTimeoutMs) const;

    // getaddrinfo through QHostInfo: the first address, or empty.
    static QString systemLookup(const QString &name);

private:
    BlockingLookup m_lookup;
};

} // namespace quillet::system
