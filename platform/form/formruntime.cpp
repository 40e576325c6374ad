#include "platform/form/formruntime.h"

#include "platform/form/canvas.h"
#include "platform/form/windowpicture.h"
#include "image/bmpcodec.h"
#include "platform/form/statehints.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QThread>

namespace quillet::form {

namespace {

QElapsedTimer &monotonicClock()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock;
}

void sendMouse(QWidget *control, QEvent::Type type)
{
    const QPointF origin(0, 0);
    const QPointF global = control->mapToGlobal(origin);
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, origin, origin, global, Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(control, &event);
}

void setHot(QWidget *control, bool hot)
{
    control->setAttribute(Qt::WA_UnderMouse, hot);
    control->update();
}

} // namespace

QByteArray FormRuntime::snapshot(QWidget *control, int width, int height)
{
    if (!control || width <= 0 || height <= 0 || width > kMaxSnapshotSide || height > kMaxSnapshotSide)
        return {};
    if (control->isWindow())
        return image::BmpCodec::encode(WindowPicture::take(control, QSize(width, height)));
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    // Paint the control into the picture ourselves: a grab from the screen would depend on
    // the window being shown, uncovered and composited.
    const QPixmap grabbed = control->grab(QRect(0, 0, qMin(width, control->width()), qMin(height, control->height())));
    if (!grabbed.isNull()) {
        QPainter painter(&picture);
        painter.drawPixmap(QPoint(0, 0), grabbed);
    }
    return image::BmpCodec::encode(picture);
}

void FormRuntime::setBackgroundPicture(Canvas *canvas, const QByteArray &bmpBytes)
{
    if (canvas)
        canvas->setBackgroundPicture(image::BmpCodec::decode(bmpBytes));
}

void FormRuntime::canvasCopy(Canvas *source, int left, int top, int width, int height, Canvas *dest, int destLeft,
                             int destTop)
{
    if (source && dest)
        dest->copyFrom(*source, QRect(left, top, width, height), QPoint(destLeft, destTop));
}

void FormRuntime::sendWindowMessage(QWidget *control, unsigned message, quintptr, qintptr)
{
    if (!control)
        return;
    const bool isButton = qobject_cast<QAbstractButton *>(control) != nullptr;
    if (message == LeftButtonDown) {
        if (isButton) {
            sendMouse(control, QEvent::MouseButtonPress);
        } else {
            // A real press would open a combo box's popup; the look of the press is what counts.
            control->setProperty(form::kPressedProperty, true);
        }
        setHot(control, true);
    } else if (message == LeftButtonUp) {
        if (isButton)
            sendMouse(control, QEvent::MouseButtonRelease);
        else
            control->setProperty(form::kPressedProperty, false);
        setHot(control, true);
    }
    control->repaint();
}

void FormRuntime::setEnabled(QWidget *control, bool enabled)
{
    if (!control)
        return;
    if (!enabled)
        setHot(control, false);
    control->setEnabled(enabled);
}

void FormRuntime::giveFocus(QWidget *control)
{
    if (control)
        control->setFocus(Qt::OtherFocusReason);
}

qint64 FormRuntime::tickCount()
{
    return monotonicClock().elapsed();
}

void FormRuntime::processEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void FormRuntime::delay(int milliseconds)
{
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

int FormRuntime::itemValue(const QComboBox *combo, int index)
{
    if (!combo || index < 0 || index >= combo->count())
        return 0;
    return combo->itemData(index).toInt();
}

QString FormRuntime::itemText(const QComboBox *combo, int index)
{
    if (!combo || index < 0 || index >= combo->count())
        return {};
    return combo->itemText(index);
}

void FormRuntime::setCurrentItemIndex(QListWidget *list, int index)
{
    if (!list)
        return;
    const QSignalBlocker quiet(list);
    list->setCurrentRow(index);
    list->viewport()->update();
}

} // namespace quillet::form
