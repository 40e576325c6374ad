#pragma once

#include <QObject>

#include <functional>

namespace quillet::ui {

// Runs a handler for a left-button press or release on a control before the control's own
// reaction to it. For a release on a button, only when it completes a click (the button is
// down and the pointer is still over it): that is the release that toggles a check box.
class MouseButtonHook : public QObject
{
    Q_OBJECT

public:
    enum class Moment { Press, ClickRelease };

    MouseButtonHook(QWidget *control, Moment moment, std::function<void()> handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_control;
    Moment m_moment;
    std::function<void()> m_handler;
};

} // namespace quillet::ui
