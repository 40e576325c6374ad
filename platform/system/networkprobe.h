#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace quillet::system {

// What the online check asks of the operating system.
class NetworkProbe
{
public:
    virtual ~NetworkProbe() = default;

    // The number of TCP connections now established; nullopt when it cannot be read.
    virtual std::optional<qint64> establishedTcpConnections() = 0;
    // The host's address as text, or empty when the name does not resolve in time.
    virtual QString lookupHost(const QString &name, int timeoutMs) = 0;
};

} // namespace quillet::system
