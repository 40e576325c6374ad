#include "batch/progressbar.h"

#include <QTextStream>

namespace quillet::batch {

ProgressBar::ProgressBar(QTextStream &stream, int total, bool terminal)
    : m_stream(stream)
    , m_total(total)
    , m_enabled(terminal && total > kMinFiles)
{
}

QString ProgressBar::line(int done, int total)
{
    const int filled = total > 0 ? int(qint64(done) * kWidth / total) : kWidth;
    return u'[' + QString(filled, u'#') + QString(kWidth - filled, u' ') + QStringLiteral("] ")
        + QString::number(done) + u'/' + QString::number(total);
}

void ProgressBar::step()
{
    show(m_done + 1);
}

void ProgressBar::show(int done)
{
    if (done == m_done && m_shownPercent >= 0)
        return;
    m_done = done;
    if (!m_enabled)
        return;
    // Redraw only when the percentage moves: thousands of writes per second would
    // otherwise spend their time on the terminal.
    const int percent = int(qint64(m_done) * 100 / qMax(1, m_total));
    if (percent == m_shownPercent && m_done != m_total)
        return;
    m_shownPercent = percent;
    m_stream << u'\r' << line(m_done, m_total);
    m_stream.flush();
}

void ProgressBar::finish()
{
    if (m_enabled && m_shownPercent >= 0) {
        m_stream << u'\n';
        m_stream.flush();
    }
}

} // namespace quillet::batch
