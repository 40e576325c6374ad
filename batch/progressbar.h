#pragma once

#include <QString>

class QTextStream;

namespace quillet::batch {

// A one-line bar redrawn in place on a terminal; silent when off.
class ProgressBar
{
public:
    // Jobs of this many files or fewer finish too soon to need a bar.
    static constexpr int kMinFiles = 8;
    static constexpr int kWidth = 30;

    ProgressBar(QTextStream &stream, int total, bool terminal);
    void step();
    // Shows done files of the total; a count that has not moved is not redrawn.
    void show(int done);
    void finish();
    bool enabled() const { return m_enabled; }
    // The line for done of total files, without the carriage return.
    static QString line(int done, int total);

private:
    QTextStream &m_stream;
    int m_total;
    int m_done = 0;
    int m_shownPercent = -1;
    bool m_enabled;
};

} // namespace quillet::batch
