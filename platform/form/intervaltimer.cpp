#include "platform/form/intervaltimer.h"

namespace quillet::form {

IntervalTimer::IntervalTimer(QObject *parent)
    : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &IntervalTimer::tick);
}

void IntervalTimer::setInterval(int milliseconds)
{
    m_interval = qMax(0, milliseconds);
    if (m_interval == 0)
        m_timer.stop();
    else
        m_timer.start(m_interval);
}

} // namespace quillet::form
