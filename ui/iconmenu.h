#pragma once

#include "model/buttonicon.h"

#include <QMenu>
#include <QObject>
#include <QPointer>

class QLineEdit;
class QPushButton;

namespace quillet::form {
class Dialogs;
}

namespace quillet::ui {

class SampleIcon;

// The caption box's context menu: the box's standard edit entries, then the sample
// button's icon: choose a file, its place beside or above the caption, remove it. The
// choice is kept in the icon it is given and shown on the sample button at once.
class IconMenu : public QObject
{
    Q_OBJECT

public:
    static const QString kChooseText;
    static const QString kPositionText;
    static const QString kRemoveText;
    static const QString kDialogTitle;
    // The position entries in menu order.
    static QString positionText(model::IconPosition position);

    IconMenu(QLineEdit *box, QPushButton *sample, model::ButtonIcon &icon, form::Dialogs &dialogs);
    ~IconMenu() override;

    // The menu the last request opened, until it closes.
    QMenu *menu() const { return m_menu; }
    // Shows the kept icon on the sample button; a file that can no longer be used is
    // dropped without a word.
    void showIcon();

    void chooseIcon();
    void setPosition(model::IconPosition position);
    void removeIcon();

private:
    void popup(const QPoint &at);

    QLineEdit *m_box;
    SampleIcon *m_sample;
    model::ButtonIcon &m_icon;
    form::Dialogs &m_dialogs;
    QPointer<QMenu> m_menu;
};

} // namespace quillet::ui
