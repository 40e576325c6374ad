#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class QComboBox;
class QListWidget;
class QWidget;

namespace quillet::form {

class Canvas;

// The general operations that handlers use besides plain property access.
class FormRuntime
{
public:
    enum WindowMessage : unsigned {
        LeftButtonDown = 0x0201,
        LeftButtonUp = 0x0202,
    };

    // Qt has no separate handle type that the program needs: the widget stands for it.
    static QWidget *windowHandleOf(QWidget *control) { return control; }
    // A complete BMP file of the control as it shows now, exactly width x height pixels;
    // what lies beyond the control is white. A top-level window is taken with its frame
    // (see WindowPicture). Empty for sizes that cannot be captured.
    static QByteArray snapshot(QWidget *control, int width, int height);
    // Largest capture side the runtime agrees to take, so absurd sizes cannot exhaust memory.
    static constexpr int kMaxSnapshotSide = 16384;

    static void setBackgroundPicture(Canvas *canvas, const QByteArray &bmpBytes);
    static void canvasCopy(Canvas *source, int left, int top, int width, int height, Canvas *dest,
                           int destLeft, int destTop);

    // Delivered before the call returns; a press leaves the control pressed, a release
    // leaves it hot (pointer over it), without depending on the window being active.
    static void sendWindowMessage(QWidget *control, unsigned message, quintptr wParam, qintptr lParam);
    // Disabling a control also ends a hover that only the runtime had set.
    static void setEnabled(QWidget *control, bool enabled);
    static void giveFocus(QWidget *control);

    static qint64 tickCount();
    static void processEvents();
    static void delay(int milliseconds);

    static int itemValue(const QComboBox *combo, int index);
    static QString itemText(const QComboBox *combo, int index);
    // Changes the current item without running the list's selection handler, as a program
    // write does not count as the user's choice.
    static void setCurrentItemIndex(QListWidget *list, int index);
};

} // namespace quillet::form
