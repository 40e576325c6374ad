#pragma once

#include <QMargins>
#include <QObject>
#include <QSize>

#include <optional>

class QWidget;

namespace quillet::form {

// Width and height of a top-level window as the window system counts them, frame and
// title bar included. The frame is the window manager's: it is asked for before the window
// is mapped, and when the frame the manager finally gives differs from the one the size was
// set for, the window is resized so that its outer size stays what was set.
class OuterSize : public QObject
{
    Q_OBJECT

public:
    // How long a window may wait, before it is first shown, for the manager to tell its frame.
    static constexpr int kFrameRequestTimeoutMs = 500;

    explicit OuterSize(QWidget *window);

    QMargins frame() const;
    QSize size() const;
    void setSize(const QSize &outer);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void keepForFrame();

    QWidget *m_window;
    // The frame the last set size was set for, kept until the manager's frame is known.
    std::optional<QMargins> m_sizedFor;
};

} // namespace quillet::form
