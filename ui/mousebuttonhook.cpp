#include "ui/mousebuttonhook.h"

#include <QAbstractButton>
#include <QMouseEvent>

namespace quillet::ui {

MouseButtonHook::MouseButtonHook(QWidget *control, Moment moment, std::function<void()> handler)
    : QObject(control)
    , m_control(control)
    , m_moment(moment)
    , m_handler(std::move(handler))
{
    control->installEventFilter(this);
}

bool MouseButtonHook::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_control || !m_control->isEnabled())
        return false;
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (!press && !release)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    if (m_moment == Moment::Press && press) {
        m_handler();
    } else if (m_moment == Moment::ClickRelease && release) {
        const auto *button = qobject_cast<QAbstractButton *>(m_control);
        const bool completesClick = !button
            || (button->isDown() && m_control->rect().contains(mouse->position().toPoint()));
        if (completesClick)
            m_handler();
    }
    return false;
}

} // namespace quillet::ui
