#include "ui/sampleicon.h"

#include "render/iconlabel.h"
#include "render/loadedicon.h"

#include <QEvent>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace quillet::ui {

namespace {

// The option QPushButton gives its style (its initStyleOption is not public).
QStyleOptionButton optionOf(const QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.features = QStyleOptionButton::None;
    if (button->isFlat())
        option.features |= QStyleOptionButton::Flat;
    if (button->menu())
        option.features |= QStyleOptionButton::HasMenu;
    if (button->autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    if (button->isDefault())
        option.features |= QStyleOptionButton::DefaultButton;
    if (button->isDown())
        option.state |= QStyle::State_Sunken;
    if (button->isChecked())
        option.state |= QStyle::State_On;
    if (!button->isFlat() && !button->isDown())
        option.state |= QStyle::State_Raised;
    option.text = button->text();
    return option;
}

} // namespace

SampleIcon::SampleIcon(QPushButton *button)
    : QObject(button)
    , m_button(button)
{
    button->installEventFilter(this);
}

SampleIcon::~SampleIcon() = default;

bool SampleIcon::show(const model::ButtonIcon &icon)
{
    m_icon = icon;
    m_loaded = icon.isNull() ? nullptr : render::LoadedIcon::load(icon.file);
    m_button->update();
    return icon.isNull() || m_loaded;
}

bool SampleIcon::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_button || event->type() != QEvent::Paint || !m_loaded)
        return QObject::eventFilter(watched, event);
    paint();
    return true;
}

void SampleIcon::paint()
{
    QStylePainter painter(m_button);
    render::iconlabel::paintButton(
        painter, optionOf(m_button), *m_button->style(), m_icon, *m_loaded, m_button);
}

} // namespace quillet::ui
