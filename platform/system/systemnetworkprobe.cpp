#include "platform/system/systemnetworkprobe.h"

namespace quillet::system {

std::optional<qint64> SystemNetworkProbe::establishedTcpConnections()
{
    return m_statistics.establishedConnections();
}

QString SystemNetworkProbe::lookupHost(const QString &name, int timeoutMs)
{
    return m_resolver.lookup(name, timeoutMs);
}

} // namespace quillet::system
