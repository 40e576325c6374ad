#include "platform/form/windowpicture.h"

#include "platform/system/windowframe.h"

#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace quillet::form {

namespace {

constexpr int kTitleIndent = 4;

QMargins frameOf(const QWidget *window)
{
    const QWindow *handle = window->windowHandle();
    if (!handle)
        return {};
    if (const std::optional<QMargins> announced = system::WindowFrame::announced(handle))
        return *announced;
    return handle->frameMargins();
}

} // namespace

void WindowPicture::drawFrame(QImage &picture, const QWidget *window, const QMargins &frame)
{
    const QPalette &palette = window->palette();
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), palette.color(QPalette::Window));
    if (frame.isNull())
        return;
    const QRect title(frame.left(), 0, picture.width() - frame.left() - frame.right(), frame.top());
    painter.fillRect(title, palette.color(QPalette::Highlight));
    painter.setPen(palette.color(QPalette::HighlightedText));
    painter.setFont(window->font());
    const QRect text = title.adjusted(kTitleIndent, 0, -kTitleIndent, 0);
    painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
        painter.fontMetrics().elidedText(window->windowTitle(), Qt::ElideRight, text.width()));
    painter.setPen(palette.color(QPalette::Shadow));
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
}

QImage WindowPicture::take(QWidget *window, const QSize &outer)
{
    // Pending changes must be on the screen before the screen is read.
    if (window->isVisible())
        window->repaint();
    if (QWindow *handle = window->windowHandle()) {
        const QImage screen = system::WindowFrame::grabFramed(handle);
        if (screen.size() == outer)
            return screen;
    }
    QImage picture(outer, QImage::Format_RGB32);
    const QMargins frame = frameOf(window);
    drawFrame(picture, window, frame);
    const QPixmap client = window->grab(QRect(QPoint(0, 0), outer.shrunkBy(frame).boundedTo(window->size())));
    if (!client.isNull()) {
        QPainter painter(&picture);
        painter.drawPixmap(QPoint(frame.left(), frame.top()), client);
    }
    return picture;
}

} // namespace quillet::form
