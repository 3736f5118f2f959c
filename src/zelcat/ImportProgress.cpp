#include "ImportProgress.h"

void ImportProgress::start(const QString& what, qint64 total)
{
    m_what = what;
    m_total = total;
    m_done = 0;
    m_lastDraw = -1;
    m_lastTenth = 0;
    m_clock.start();
}

QString ImportProgress::line(qint64 done) const
{
    const double seconds = m_clock.elapsed() / 1000.0;
    QString text = QStringLiteral("%1: %2 of %3 files").arg(m_what).arg(done).arg(m_total);
    if (seconds > 0 && done > 0) {
        const double rate = done / seconds;
        text += QStringLiteral(", %1 files/s").arg(qRound(rate));
        if (done < m_total)
            text += QStringLiteral(", about %1 s left").arg(qRound((m_total - done) / rate) + 1);
    }
    return text;
}

void ImportProgress::advance(qint64 done)
{
    m_done = done;
    if (m_total <= 0 || !m_out)
        return;
    if (m_terminal) {
        const qint64 now = m_clock.elapsed();
        if (m_lastDraw >= 0 && now - m_lastDraw < 100)
            return;
        m_lastDraw = now;
        std::fprintf(m_out, "\r%s\x1b[K", qPrintable(line(done)));
    } else {
        // Short steps get only the closing line.
        const int tenth = int(done * 10 / m_total);
        if (m_total < 100 || tenth <= m_lastTenth || done >= m_total)
            return;
        m_lastTenth = tenth;
        std::fprintf(m_out, "%s\n", qPrintable(line(done)));
    }
    std::fflush(m_out);
}

void ImportProgress::finish()
{
    if (m_total <= 0 || !m_out)
        return;
    std::fprintf(m_out, m_terminal ? "\r%s\x1b[K\n" : "%s\n", qPrintable(line(m_done)));
    std::fflush(m_out);
}
