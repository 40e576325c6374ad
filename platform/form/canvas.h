#pragma once

#include <QImage>
#include <QWidget>

namespace quillet::form {

// A plain child window that shows a background picture from its top-left corner,
// unscaled, and keeps its own pixels so that rectangles can be copied between canvases.
class Canvas : public QWidget
{
    Q_OBJECT

public:
    explicit Canvas(QWidget *parent = nullptr);

    // Replaces everything shown before, also pixels an earlier copy put there.
    void setBackgroundPicture(const QImage &picture);
    // Plain copy of a rectangle of the source's pixels to (destLeft, destTop).
    void copyFrom(const Canvas &source, const QRect &sourceRect, const QPoint &destTopLeft);
    // The picture as shown: the held pixels over the background colour.
    QImage pixels() const { return m_pixels; }

    void setBackgroundColour(const QColor &colour);
    QColor backgroundColour() const { return m_background; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_pixels;
    QColor m_background;
};

} // namespace quillet::form
