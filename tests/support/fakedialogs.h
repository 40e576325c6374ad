#pragma once

#include "platform/form/dialogs.h"

#include <QList>
#include <QStringList>

// Answers the program's dialogs from queued replies, or with a standing answer once the
// queue is empty, and records what was asked.
class FakeDialogs : public quillet::form::Dialogs
{
public:
    struct Confirmation
    {
        QString text;
        QString caption;
    };

    QList<bool> confirmAnswers;
    QList<FontChoice> fontAnswers;
    QStringList folderAnswers;
    QList<QColor> colourAnswers;
    QStringList iconFileAnswers;
    bool standingConfirm = false;
    QString standingFolder;

    QList<Confirmation> confirmations;
    QStringList folderStarts;
    QStringList folderTitles;
    QList<QWidget *> folderOwners;
    int fontRequests = 0;
    QStringList iconFileStarts;
    QStringList iconFileTitles;

    bool confirm(QWidget *, const QString &text, const QString &caption) override
    {
        confirmations.append({text, caption});
        return confirmAnswers.isEmpty() ? standingConfirm : confirmAnswers.takeFirst();
    }
    FontChoice chooseFont(QWidget *, const QFont &, int cancelledSize) override
    {
        ++fontRequests;
        return fontAnswers.isEmpty() ? FontChoice{QString(), cancelledSize} : fontAnswers.takeFirst();
    }
    QString chooseFolder(QWidget *owner, const QString &startFolder, const QString &title) override
    {
        folderOwners.append(owner);
        folderStarts.append(startFolder);
        folderTitles.append(title);
        return folderAnswers.isEmpty() ? standingFolder : folderAnswers.takeFirst();
    }
    QColor chooseColour(QWidget *, const QColor &) override
    {
        return colourAnswers.isEmpty() ? QColor() : colourAnswers.takeFirst();
    }
    QString chooseIconFile(QWidget *, const QString &startFile, const QString &title) override
    {
        iconFileStarts.append(startFile);
        iconFileTitles.append(title);
        return iconFileAnswers.isEmpty() ? QString() : iconFileAnswers.takeFirst();
    }
};
