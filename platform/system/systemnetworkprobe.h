#pragma once

#include "platform/system/hostresolver.h"
#include "platform/system/networkprobe.h"
#include "platform/system/tcpstatistics.h"

namespace quillet::system {

// The network probe of the running system: kernel TCP counters and the resolver.
class SystemNetworkProbe : public NetworkProbe
{
public:
    std::optional<qint64> establishedTcpConnections() override;
    QString lookupHost(const QString &name, int timeoutMs) override;

private:
    TcpStatistics m_statistics;
    HostResolver m_resolver;
};

} // namespace quillet::system
