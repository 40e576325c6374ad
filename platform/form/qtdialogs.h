#pragma once

#include "platform/form/dialogs.h"

namespace quillet::form {

// The dialogs a person answers.
class QtDialogs : public Dialogs
{
public:
    bool confirm(QWidget *owner, const QString &text, const QString &caption) override;
    FontChoice chooseFont(QWidget *owner, const QFont &initial, int cancelledSize) override;
    QString chooseFolder(QWidget *owner, const QString &startFolder, const QString &title) override;
    QColor chooseColour(QWidget *owner, const QColor &initial) override;
    QString chooseIconFile(QWidget *owner, const QString &startFile, const QString &title) override;
};

} // namespace quillet::form
