#include "platform/form/outersize.h"

#include "platform/system/windowframe.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace quillet::form {

OuterSize::OuterSize(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    window->installEventFilter(this);
}

QMargins OuterSize::frame() const
{
    const QWindow *handle = m_window->windowHandle();
    if (!handle)
        return {};
    // The manager's own word first: Qt learns of a changed frame later than it is set.
    if (const std::optional<QMargins> announced = system::WindowFrame::announced(handle))
        return *announced;
    return handle->frameMargins();
}

QSize OuterSize::size() const
{
    const QMargins margins = frame();
    return m_window->size().grownBy(margins);
}

void OuterSize::setSize(const QSize &outer)
{
    m_window->winId();
    QMargins margins = frame();
    if (!m_window->isVisible()) {
        // Before the first map the manager can still say which frame it will draw, so the
        // window appears at its size instead of jumping to it.
        if (const std::optional<QMargins> told
            = system::WindowFrame::requestBeforeMapping(m_window->windowHandle(), kFrameRequestTimeoutMs))
            margins = *told;
    }
    m_sizedFor = margins;
    m_window->resize(qMax(1, outer.width() - margins.left() - margins.right()),
        qMax(1, outer.height() - margins.top() - margins.bottom()));
}

void OuterSize::keepForFrame()
{
    if (!m_sizedFor || !m_window->isVisible())
        return;
    const QWindow *handle = m_window->windowHandle();
    const std::optional<QMargins> announced = handle ? system::WindowFrame::announced(handle) : std::nullopt;
    if (announced && *announced != *m_sizedFor) {
        const QSize outer = m_window->size().grownBy(*m_sizedFor);
        m_sizedFor = announced;
        m_window->resize(outer.shrunkBy(*announced));
    }
    // Once the framed window shows, the frame is the manager's final word.
    if (announced && handle->isExposed())
        m_sizedFor.reset();
}

bool OuterSize::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowActivate:
        case QEvent::UpdateRequest:
        case QEvent::Paint:
            keepForFrame();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillet::form
