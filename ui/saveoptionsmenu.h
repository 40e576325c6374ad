#pragma once

#include "model/weboptions.h"

#include <QColor>
#include <QObject>

class QAction;
class QMenu;
class QPushButton;

namespace quillet::ui {

// The save button's context menu (right click or the menu key): four checkable output
// options, kept in the options it is given, then the accent colour (shown as a swatch) and
// the kits for web pages and for Qt; those entries only ask, their owner acts.
class SaveOptionsMenu : public QObject
{
    Q_OBJECT

public:
    static const QString kTransparentText;
    static const QString kTwoXText;
    static const QString kSpriteText;
    static const QString kFocusText;
    static const QString kAccentText;
    static const QString kNoAccentText;
    static const QString kKitText;
    static const QString kQtKitText;

    SaveOptionsMenu(QPushButton *button, model::WebOptions &options, const QColor &accent);
    ~SaveOptionsMenu() override;

    QMenu *menu() const { return m_menu; }
    QAction *transparentAction() const { return m_transparent; }
    QAction *twoXAction() const { return m_twoX; }
    QAction *spriteAction() const { return m_sprite; }
    QAction *focusAction() const { return m_focus; }
    QAction *accentAction() const { return m_accentAction; }
    QAction *noAccentAction() const { return m_noAccent; }
    QAction *kitAction() const { return m_kit; }
    QAction *qtKitAction() const { return m_qtKit; }
    // The marks follow the options, for options changed elsewhere (read at start-up).
    void showOptions();

private:
    void popup(const QPoint &at);

    QPushButton *m_button;
    model::WebOptions &m_options;
    const QColor &m_accent;
    QMenu *m_menu;
    QAction *m_transparent;
    QAction *m_twoX;
    QAction *m_sprite;
    QAction *m_focus;
    QAction *m_accentAction;
    QAction *m_noAccent;
    QAction *m_kit;
    QAction *m_qtKit;
};

} // namespace quillet::ui
