#include "ui/iconmenu.h"

#include "platform/form/dialogs.h"
#include "render/loadedicon.h"
#include "ui/sampleicon.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace quillet::ui {

using model::IconPosition;

const QString IconMenu::kChooseText = QString::fromUtf8(QT_TRANSLATE_NOOP("IconMenu", "选择图标…"));
const QString IconMenu::kPositionText = QString::fromUtf8(QT_TRANSLATE_NOOP("IconMenu", "图标位置"));
const QString IconMenu::kRemoveText = QString::fromUtf8(QT_TRANSLATE_NOOP("IconMenu", "去掉图标"));
const QString IconMenu::kDialogTitle = QString::fromUtf8(QT_TRANSLATE_NOOP("IconMenu", "选择图标"));

namespace {
constexpr IconPosition kPositions[] = { IconPosition::Left, IconPosition::Right, IconPosition::Top };

// The constants are the Chinese sources; a person reads them in the windows' language.
QString shown(const QString &source)
{
    return QCoreApplication::translate("IconMenu", source.toUtf8().constData());
}
} // namespace

QString IconMenu::positionText(IconPosition position)
{
    switch (position) {
    case IconPosition::Right:
        return QString::fromUtf8(QT_TRANSLATE_NOOP("IconMenu", "右"));
    case IconPosition::Top:
        return QString::fromUtf8(QT_TRANSLATE_NOOP("IconMenu", "上"));
    case IconPosition::Left:
        break;
    }
    return QString::fromUtf8(QT_TRANSLATE_NOOP("IconMenu", "左"));
}

IconMenu::IconMenu(QLineEdit *box, QPushButton *sample, model::ButtonIcon &icon, form::Dialogs &dialogs)
    : QObject(box)
    , m_box(box)
    , m_sample(new SampleIcon(sample))
    , m_icon(icon)
    , m_dialogs(dialogs)
{
    // Qt turns the menu key into the same request as a right click.
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box, &QWidget::customContextMenuRequested, this, &IconMenu::popup);
}

IconMenu::~IconMenu() = default;

void IconMenu::showIcon()
{
    if (!m_sample->show(m_icon))
        m_icon.file.clear();
}

void IconMenu::chooseIcon()
{
    const QString file = m_dialogs.chooseIconFile(m_box->window(), m_icon.file, shown(kDialogTitle));
    // A file that is no picture changes nothing; the handler says nothing about it.
    if (file.isEmpty() || !render::iconProblem(file).isEmpty())
        return;
    m_icon.file = file;
    showIcon();
}

void IconMenu::setPosition(IconPosition position)
{
    m_icon.position = position;
    showIcon();
}

void IconMenu::removeIcon()
{
    m_icon.file.clear();
    showIcon();
}

void IconMenu::popup(const QPoint &at)
{
    QMenu *menu = m_box->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    connect(menu->addAction(shown(kChooseText)), &QAction::triggered, this, &IconMenu::chooseIcon);
    QMenu *positions = menu->addMenu(shown(kPositionText));
    auto *group = new QActionGroup(positions);
    for (IconPosition position : kPositions) {
        QAction *action = positions->addAction(shown(positionText(position)));
        action->setCheckable(true);
        action->setChecked(position == m_icon.position);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, position] { setPosition(position); });
    }
    QAction *remove = menu->addAction(shown(kRemoveText));
    remove->setEnabled(!m_icon.isNull());
    connect(remove, &QAction::triggered, this, &IconMenu::removeIcon);
    m_menu = menu;
    menu->popup(m_box->mapToGlobal(at));
}

} // namespace quillet::ui
