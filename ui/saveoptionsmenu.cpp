#include "ui/saveoptionsmenu.h"

#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>

namespace quillet::ui {

const QString SaveOptionsMenu::kTransparentText
    = QString::fromUtf8(QT_TRANSLATE_NOOP("SaveOptionsMenu", "透明背景"));
const QString SaveOptionsMenu::kTwoXText
    = QString::fromUtf8(QT_TRANSLATE_NOOP("SaveOptionsMenu", "同时输出 @2x 图片"));
const QString SaveOptionsMenu::kSpriteText
    = QString::fromUtf8(QT_TRANSLATE_NOOP("SaveOptionsMenu", "输出精灵图和 CSS"));
const QString SaveOptionsMenu::kFocusText
    = QString::fromUtf8(QT_TRANSLATE_NOOP("SaveOptionsMenu", "输出焦点图片"));

SaveOptionsMenu::SaveOptionsMenu(QPushButton *button, model::WebOptions &options)
    : QObject(button)
    , m_button(button)
    , m_options(options)
    , m_menu(new QMenu(button))
{
    const auto add = [this](const QString &text, bool model::WebOptions::*flag) {
        QAction *action
            = m_menu->addAction(QCoreApplication::translate("SaveOptionsMenu", text.toUtf8().constData()));
        action->setCheckable(true);
        connect(action, &QAction::toggled, this, [this, flag](bool on) { m_options.*flag = on; });
        return action;
    };
    m_transparent = add(kTransparentText, &model::WebOptions::transparent);
    m_twoX = add(kTwoXText, &model::WebOptions::twoX);
    m_sprite = add(kSpriteText, &model::WebOptions::sprite);
    m_focus = add(kFocusText, &model::WebOptions::focus);
    showOptions();
    // Qt turns the menu key into the same request as a right click on the focused button.
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QWidget::customContextMenuRequested, this, &SaveOptionsMenu::popup);
}

SaveOptionsMenu::~SaveOptionsMenu() = default;

void SaveOptionsMenu::showOptions()
{
    m_transparent->setChecked(m_options.transparent);
    m_twoX->setChecked(m_options.twoX);
    m_sprite->setChecked(m_options.sprite);
    m_focus->setChecked(m_options.focus);
}

void SaveOptionsMenu::popup(const QPoint &at)
{
    showOptions();
    m_menu->popup(m_button->mapToGlobal(at));
}

} // namespace quillet::ui
