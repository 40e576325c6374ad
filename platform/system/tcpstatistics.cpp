#include "platform/system/tcpstatistics.h"

#include <QFile>
#include <QList>

namespace quillet::system {

namespace {

constexpr QByteArrayView TcpPrefix = "Tcp:";
constexpr QByteArrayView EstablishedField = "CurrEstab";

std::optional<qint64> parseCounter(const QByteArray &token)
{
    bool ok = false;
    const qint64 value = token.toLongLong(&ok);
    if (ok)
        return value;
    // The kernel prints most counters unsigned.
    const quint64 unsignedValue = token.toULongLong(&ok);
    if (ok)
        return static_cast<qint64>(unsignedValue);
    return std::nullopt;
}

} // namespace

TcpStatistics::TcpStatistics(QString snmpPath)
    : m_snmpPath(std::move(snmpPath))
{
}

std::optional<qint64> TcpStatistics::establishedConnections() const
{
    QFile file(m_snmpPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // /proc files report size 0, so read up to the bound rather than trusting size().
    const QByteArray content = file.read(MaxFileBytes);
    return parseEstablished(content);
}

std::optional<qint64> TcpStatistics::parseEstablished(const QByteArray &snmp)
{
    const QList<QByteArray> lines = snmp.split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (!lines[i].startsWith(TcpPrefix) || !lines[i + 1].startsWith(TcpPrefix))
            continue;
        const QList<QByteArray> names = lines[i].mid(TcpPrefix.size()).simplified().split(' ');
        const QList<QByteArray> values = lines[i + 1].mid(TcpPrefix.size()).simplified().split(' ');
        const qsizetype column = names.indexOf(EstablishedField.toByteArray());
        if (column < 0)
            continue;
        if (names.size() != values.size())
            return std::nullopt;
        return parseCounter(values[column]);
    }
    return std::nullopt;
}

} // namespace quillet::system
