#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace quillet::form {

// The modal dialogs of the program. Handlers reach them through this interface so that
// tests can answer them without a person.
class Dialogs
{
public:
    struct FontChoice
    {
        QString faceName; // empty when nothing was chosen
        int pointSize = 0; // 0 when nothing was chosen (see cancelledSize)
    };

    virtual ~Dialogs() = default;

    // OK/Cancel message box; true when OK closed it.
    virtual bool confirm(QWidget *owner, const QString &text, const QString &caption) = 0;
    // Font dialog; a cancelled dialog answers an empty face name and cancelledSize.
    virtual FontChoice chooseFont(QWidget *owner, const QFont &initial, int cancelledSize) = 0;
    // Folder dialog listing files too; the chosen path, empty when cancelled.
    virtual QString chooseFolder(QWidget *owner, const QString &startFolder, const QString &title) = 0;
    // Colour dialog; an invalid colour when cancelled.
    virtual QColor chooseColour(QWidget *owner, const QColor &initial) = 0;
    // File dialog for an existing SVG or PNG picture, opening on startFile's folder (and
    // the file chosen); the chosen path, empty when cancelled.
    virtual QString chooseIconFile(QWidget *owner, const QString &startFile, const QString &title) = 0;
};

} // namespace quillet::form
