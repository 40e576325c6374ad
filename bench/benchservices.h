#pragma once

#include "platform/form/dialogs.h"
#include "platform/system/networkprobe.h"

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
