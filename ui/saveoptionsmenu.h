#pragma once

#include "model/weboptions.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QStringView>

#include <array>

class QAction;
class QMenu;
class QPushButton;

namespace quillet::ui {

// The save button's context menu (right click or the menu key): four checkable output
// options, kept in the options it is given, then the accent colour (shown as a swatch) and
// one entry per kit target; those entries only ask, their owner acts.
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
    // The kit entries in the menu's order, by the target each asks for.
    struct KitEntry
    {
        QStringView target;
        QString text;
    };
    static const std::array<KitEntry, 4> kKitEntries;

    SaveOptionsMenu(QPushButton *button, model::WebOptions &options, const QColor &accent);
    ~SaveOptionsMenu() override;

    QMenu *menu() const { return m_menu; }
    QAction *transparentAction() const { return m_transparent; }
    QAction *twoXAction() const { return m_twoX; }
    QAction *spriteAction() const { return m_sprite; }
    QAction *focusAction() const { return m_focus; }
    QAction *accentAction() const { return m_accentAction; }
    QAction *noAccentAction() const { return m_noAccent; }
    // The entry of a kit target; none for a name not in kKitEntries.
    QAction *kitAction(QStringView target = u"web") const;
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
    QList<QAction *> m_kits; // by kKitEntries
};

} // namespace quillet::ui
