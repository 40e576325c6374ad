#include "platform/form/qtdialogs.h"

#include "platform/system/qtfolderdialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QMessageBox>

namespace quillet::form {

bool QtDialogs::confirm(QWidget *owner, const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok | QMessageBox::Cancel, owner);
    // A caption such as "a<b>c" would otherwise make the whole list read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

Dialogs::FontChoice QtDialogs::chooseFont(QWidget *owner, const QFont &initial, int cancelledSize)
{
    // The dialog lists real families only: a name that fontconfig maps to another family
    // ("宋体") would open on the first family of the list in some style. Start on what the
    // font really is, in the size it really has.
    const QFontInfo shown(initial);
    QFont start = initial;
    start.setFamilies({ shown.family() });
    start.setStyleName(shown.styleName());
    if (start.pointSizeF() <= 0)
        start.setPointSizeF(shown.pointSizeF());
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, start, owner);
    if (!chosen)
        return {QString(), cancelledSize};
    // Keeping the family keeps the name the caller gave it.
    const QString family = font.family() == shown.family() ? initial.family() : font.family();
    return { family, font.pointSize() };
}

QString QtDialogs::chooseFolder(QWidget *owner, const QString &startFolder, const QString &title)
{
    return system::QtFolderDialog::run(owner, startFolder, title);
}

QColor QtDialogs::chooseColour(QWidget *owner, const QColor &initial)
{
    return QColorDialog::getColor(initial, owner);
}

QString QtDialogs::chooseIconFile(QWidget *owner, const QString &startFile, const QString &title)
{
    // Qt's own dialog, as the folder dialog: the same look and language on every desktop.
    QFileDialog dialog(owner, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters({ QStringLiteral("SVG / PNG (*.svg *.png *.SVG *.PNG)"), QStringLiteral("* (*)") });
    if (!startFile.isEmpty()) {
        const QFileInfo start(startFile);
        dialog.setDirectory(start.absolutePath());
        if (start.isFile())
            dialog.selectFile(start.fileName());
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace quillet::form
