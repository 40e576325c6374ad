#pragma once

#include "model/weboptions.h"

#include <QObject>

class QAction;
class QMenu;
class QPushButton;

namespace quillet::ui {

// The save button's context menu (right click or the menu key): four checkable output
// options, kept in the options it is given.
class SaveOptionsMenu : public QObject
{
    Q_OBJECT

public:
    static const QString kTransparentText;
    static const QString kTwoXText;
    static const QString kSpriteText;
    static const QString kFocusText;

    SaveOptionsMenu(QPushButton *button, model::WebOptions &options);
    ~SaveOptionsMenu() override;

    QMenu *menu() const { return m_menu; }
    QAction *transparentAction() const { return m_transparent; }
    QAction *twoXAction() const { return m_twoX; }
    QAction *spriteAction() const { return m_sprite; }
    QAction *focusAction() const { return m_focus; }
    // The marks follow the options, for options changed elsewhere (read at start-up).
    void showOptions();

private:
    void popup(const QPoint &at);

    QPushButton *m_button;
    model::WebOptions &m_options;
    QMenu *m_menu;
    QAction *m_transparent;
    QAction *m_twoX;
    QAction *m_sprite;
    QAction *m_focus;
};

} // namespace quillet::ui
