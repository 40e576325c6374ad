#pragma once

#include "platform/form/dialogs.h"
#include "platform/system/networkprobe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The outside services of a designer run under a benchmark: dialogs that answer at once
// (OK or Cancel to the confirmation, one fixed folder) and a network that is offline.
class AnsweringDialogs : public quillet::form::Dialogs
{
public:
    bool confirmAnswer = true;
    QString folder;

    bool confirm(QWidget *, const QString &, const QString &) override { return confirmAnswer; }
    FontChoice chooseFont(QWidget *, const QFont &, int cancelledSize) override
    {
        return { QString(), cancelledSize };
    }
    QString chooseFolder(QWidget *, const QString &, const QString &) override { return folder; }
    QColor chooseColour(QWidget *, const QColor &) override { return {}; }
};

class OfflineProbe : public quillet::system::NetworkProbe
{
public:
    std::optional<qint64> establishedTcpConnections() override { return 0; }
    QString lookupHost(const QString &, int) override { return {}; }
};

// Copies a folder tree, as the skins folder with its picture folders.
inline void copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QFileInfo &entry : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (entry.isDir())
            copyFolder(entry.filePath(), to + u'/' + entry.fileName());
        else
            QFile::copy(entry.filePath(), to + u'/' + entry.fileName());
    }
}
