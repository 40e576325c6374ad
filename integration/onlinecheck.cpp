#include "integration/onlinecheck.h"

#include "platform/system/networkprobe.h"

#include <optional>

namespace quillet::integration {

bool OnlineCheck::isOnline(system::NetworkProbe &probe)
{
    const std::optional<qint64> established = probe.establishedTcpConnections();
    if (!established)
        return false;
    // The counter is judged as a signed 32-bit value, as the statistics record holds it.
    if (static_cast<qint32>(static_cast<quint32>(*established)) <= 0)
        return false;
    for (const char *host : { FirstProbeHost, SecondProbeHost }) {
        if (!probe.lookupHost(QString::fromLatin1(host), LookupTimeoutMs).isEmpty())
            return true;
    }
    return false;
}

QString OnlineCheck::informationPage()
{
    return QString::fromLatin1(InformationPageUrl);
}

} // namespace quillet::integration
