#include "platform/form/canvas.h"

#include <QPainter>

namespace quillet::form {

Canvas::Canvas(QWidget *parent)
    : QWidget(parent)
    , m_background(Qt::white)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Canvas::setBackgroundPicture(const QImage &picture)
{
    m_pixels = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
    update();
}

void Canvas::copyFrom(const Canvas &source, const QRect &sourceRect, const QPoint &destTopLeft)
{
    if (sourceRect.width() <= 0 || sourceRect.height() <= 0)
        return;
    // The copy lands on what this canvas shows now, so start from its visible pixels.
    const QSize needed(qMax(width(), destTopLeft.x() + sourceRect.width()),
                       qMax(height(), destTopLeft.y() + sourceRect.height()));
    // Pixels beyond the canvas from an earlier, larger picture are dropped with the copy.
    QImage target(needed, QImage::Format_RGB32);
    target.fill(m_background);
    QPainter painter(&target);
    if (!m_pixels.isNull())
        painter.drawImage(QPoint(0, 0), m_pixels);
    // Pixels the source does not hold are its background, as the source shows them.
    QImage patch(sourceRect.size(), QImage::Format_RGB32);
    patch.fill(source.m_background);
    {
        QPainter patchPainter(&patch);
        if (!source.m_pixels.isNull())
            patchPainter.drawImage(QPoint(0, 0), source.m_pixels, sourceRect);
    }
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(destTopLeft, patch);
    painter.end();
    m_pixels = target;
    update();
}

void Canvas::setBackgroundColour(const QColor &colour)
{
    m_background = colour;
    update();
}

void Canvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    if (!m_pixels.isNull())
        painter.drawImage(QPoint(0, 0), m_pixels);
}

} // namespace quillet::form
