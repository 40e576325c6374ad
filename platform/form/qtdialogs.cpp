#include "platform/form/qtdialogs.h"

#include "platform/system/qtfolderdialog.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace quillet::form {

bool QtDialogs::confirm(QWidget *owner, const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok | QMessageBox::Cancel, owner);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

Dialogs::FontChoice QtDialogs::chooseFont(QWidget *owner, const QFont &initial, int cancelledSize)
{
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, initial, owner);
    if (!chosen)
        return {QString(), cancelledSize};
    return {font.family(), font.pointSize()};
}

QString QtDialogs::chooseFolder(QWidget *owner, const QString &startFolder, const QString &title)
{
    return system::QtFolderDialog::run(owner, startFolder, title);
}

QColor QtDialogs::chooseColour(QWidget *owner, const QColor &initial)
{
    return QColorDialog::getColor(initial, owner);
}

} // namespace quillet::form
