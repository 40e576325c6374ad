#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QWidget>

// What the X server and the window manager know of our windows, read with xprop and
// xwininfo rather than asked of Qt.
namespace xclients {

inline QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000))
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

inline QList<quint64> idsIn(const QString &line)
{
    QList<quint64> ids;
    static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
    for (auto it = hex.globalMatch(line.section(u'#', 1)); it.hasNext();)
        ids.append(it.next().captured().toULongLong(nullptr, 16));
    return ids;
}

// Managed top-level windows of this process, as the window manager lists them.
inline QList<quint64> managedWindowsOfThisProcess()
{
    QList<quint64> ours;
    const QString pid = QString::number(QCoreApplication::applicationPid());
    for (quint64 id : idsIn(run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST")}))) {
        const QString owner = run(QStringLiteral("xprop"),
                                  {QStringLiteral("-id"), QString::number(id), QStringLiteral("_NET_WM_PID")});
        if (owner.section(u'=', 1).trimmed() == pid)
            ours.append(id);
    }
    return ours;
}

inline bool isViewable(quint64 id)
{
    return run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(id)})
        .contains(QStringLiteral("Map State: IsViewable"));
}

// Parent of a window in the X tree, 0 when it has none or is unknown.
inline quint64 parentOf(quint64 id)
{
    const QString tree = run(QStringLiteral("xwininfo"), {QStringLiteral("-tree"), QStringLiteral("-id"), QString::number(id)});
    static const QRegularExpression parent(QStringLiteral("Parent window id: (0x[0-9a-fA-F]+)"));
    const auto match = parent.match(tree);
    return match.hasMatch() ? match.captured(1).toULongLong(nullptr, 16) : 0;
}

// Every window the window manager listed while it ran: a window that is destroyed and
// created again, even for a moment, leaves its second id here.
class ClientListWatch
{
public:
    ClientListWatch()
    {
        m_spy.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("-spy"), QStringLiteral("_NET_CLIENT_LIST")});
        m_spy.waitForStarted();
    }
    ~ClientListWatch()
    {
        m_spy.kill();
        m_spy.waitForFinished();
    }

    QSet<quint64> seen()
    {
        m_text += QString::fromLocal8Bit(m_spy.readAllStandardOutput());
        QSet<quint64> all;
        for (const QString &line : m_text.split(u'\n'))
            for (quint64 id : idsIn(line))
                all.insert(id);
        return all;
    }

private:
    QProcess m_spy;
    QString m_text;
};

} // namespace xclients
