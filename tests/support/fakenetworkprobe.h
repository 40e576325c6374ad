#pragma once

#include "platform/system/networkprobe.h"

#include <QStringList>

// A network that answers as told and records the names it was asked to look up.
class FakeNetworkProbe : public quillet::system::NetworkProbe
{
public:
    std::optional<qint64> established = 0;
    QStringList resolvable;
    QStringList lookups;

    std::optional<qint64> establishedTcpConnections() override { return established; }
    QString lookupHost(const QString &name, int) override
    {
        lookups.append(name);
        return resolvable.contains(name) ? QStringLiteral("192.0.2.1") : QString();
    }
};
