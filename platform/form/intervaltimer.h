#pragma once

#include <QObject>
#include <QTimer>

namespace quillet::form {

// A timer with one property: the interval in milliseconds; 0 stops it, any other value
// (re)starts it with that period.
class IntervalTimer : public QObject
{
    Q_OBJECT

public:
    explicit IntervalTimer(QObject *parent = nullptr);

    void setInterval(int milliseconds);
    int interval() const { return m_interval; }
    bool isRunning() const { return m_timer.isActive(); }

Q_SIGNALS:
    void tick();

private:
    QTimer m_timer;
    int m_interval = 0;
};

} // namespace quillet::form
