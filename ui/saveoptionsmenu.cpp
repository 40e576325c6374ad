#include "ui/saveoptionsmenu.h"

#include <QCoreApplication>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
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

const QString SaveOptionsMenu::kAccentText
    = QString::fromUtf8(QT_TRANSLATE_NOOP("SaveOptionsMenu", "强调色…"));
const QString SaveOptionsMenu::kNoAccentText
    = QString::fromUtf8(QT_TRANSLATE_NOOP("SaveOptionsMenu", "不用强调色"));
const std::array<SaveOptionsMenu::KitEntry, 4> SaveOptionsMenu::kKitEntries { {
    { u"web", QString::fromUtf8(QT_TRANSLATE_NOOP("SaveOptionsMenu", "输出网页按钮套件…")) },
    { u"qt", QString::fromUtf8(QT_TRANSLATE_NOOP("SaveOptionsMenu", "输出 Qt 按钮套件…")) },
    { u"android", QString::fromUtf8(QT_TRANSLATE_NOOP("SaveOptionsMenu", "输出 Android 按钮套件…")) },
    { u"godot", QString::fromUtf8(QT_TRANSLATE_NOOP("SaveOptionsMenu", "输出 Godot 按钮主题…")) },
} };

namespace {
QString shown(const QString &text)
{
    return QCoreApplication::translate("SaveOptionsMenu", text.toUtf8().constData());
}
} // namespace

SaveOptionsMenu::SaveOptionsMenu(QPushButton *button, model::WebOptions &options, const QColor &accent)
    : QObject(button)
    , m_button(button)
    , m_options(options)
    , m_accent(accent)
    , m_menu(new QMenu(button))
{
    const auto add = [this](const QString &text, bool model::WebOptions::*flag) {
        QAction *action = m_menu->addAction(shown(text));
        action->setCheckable(true);
        connect(action, &QAction::toggled, this, [this, flag](bool on) { m_options.*flag = on; });
        return action;
    };
    m_transparent = add(kTransparentText, &model::WebOptions::transparent);
    m_twoX = add(kTwoXText, &model::WebOptions::twoX);
    m_sprite = add(kSpriteText, &model::WebOptions::sprite);
    m_focus = add(kFocusText, &model::WebOptions::focus);
    m_menu->addSeparator();
    m_accentAction = m_menu->addAction(shown(kAccentText));
    m_noAccent = m_menu->addAction(shown(kNoAccentText));
    m_menu->addSeparator();
    for (const KitEntry &entry : kKitEntries)
        m_kits.append(m_menu->addAction(shown(entry.text)));
    showOptions();
    // Qt turns the menu key into the same request as a right click on the focused button.
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QWidget::customContextMenuRequested, this, &SaveOptionsMenu::popup);
}

SaveOptionsMenu::~SaveOptionsMenu() = default;

QAction *SaveOptionsMenu::kitAction(QStringView target) const
{
    for (size_t i = 0; i < kKitEntries.size(); ++i) {
        if (kKitEntries[i].target == target)
            return m_kits.at(qsizetype(i));
    }
    return nullptr;
}

void SaveOptionsMenu::showOptions()
{
    m_transparent->setChecked(m_options.transparent);
    m_twoX->setChecked(m_options.twoX);
    m_sprite->setChecked(m_options.sprite);
    m_focus->setChecked(m_options.focus);
    QIcon swatch;
    if (m_accent.isValid()) {
        QPixmap square(16, 16);
        square.fill(m_accent);
        swatch = QIcon(square);
    }
    m_accentAction->setIcon(swatch);
    m_noAccent->setEnabled(m_accent.isValid());
}

void SaveOptionsMenu::popup(const QPoint &at)
{
    showOptions();
    m_menu->popup(m_button->mapToGlobal(at));
}

} // namespace quillet::ui
