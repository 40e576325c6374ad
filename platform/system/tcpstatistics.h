#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace quillet::system {

// Reads the TCP counters that the kernel publishes in /proc/net/snmp.
class TcpStatistics
{
public:
    // The kernel file is a few kilobytes; anything far larger is not it.
    static constexpr qint64 MaxFileBytes = 1 << 20;

    explicit TcpStatistics(QString snmpPath = QStringLiteral("/proc/net/snmp"));

    // CurrEstab, or nullopt when the file cannot be read or does not hold it.
    std::optional<qint64> establishedConnections() const;

    // CurrEstab from the "Tcp:" header line and the "Tcp:" value line that follows it.
    static std::optional<qint64> parseEstablished(const QByteArray &snmp);

private:
    QString m_snmpPath;
};

} // namespace quillet::system
