#include "platform/form/colourpicker.h"

#include "platform/form/dialogs.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFrame>

namespace quillet::form {

namespace {
constexpr int kSwatchInset = 3;
}

ColourPicker::ColourPicker(QWidget *parent)
    : QWidget(parent)
    , m_colour(Qt::black)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void ColourPicker::setColour(const QColor &colour)
{
    if (!colour.isValid() || colour == m_colour)
        return;
    m_colour = colour;
    update();
}

void ColourPicker::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.state |= QStyle::State_Sunken;
    frame.lineWidth = 1;
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
    painter.fillRect(rect().adjusted(kSwatchInset, kSwatchInset, -kSwatchInset, -kSwatchInset), m_colour);
}

void ColourPicker::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        pick();
}

void ColourPicker::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        pick();
    else
        QWidget::keyPressEvent(event);
}

void ColourPicker::pick()
{
    if (!m_dialogs)
        return;
    const QColor chosen = m_dialogs->chooseColour(window(), m_colour);
    if (!chosen.isValid())
        return;
    m_colour = chosen;
    update();
    Q_EMIT colourPicked(m_colour);
}

} // namespace quillet::form
