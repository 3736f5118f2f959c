#pragma once

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

// Shows how far a long step has come, on an output stream (stderr): files done of the
// total, the rate and the time left. On a terminal one line is redrawn at most ten times a
// second; otherwise a plain line is written at every tenth of the way, so a log stays short.
class ImportProgress
{
  public:
    ImportProgress(std::FILE* out, bool terminal) : m_out(out), m_terminal(terminal) {}

    void start(const QString& what, qint64 total);
    void advance(qint64 done);
    void finish();

  private:
    QString line(qint64 done) const;

    std::FILE* m_out;
    bool m_terminal;
    QString m_what;
    qint64 m_total = 0;
    qint64 m_done = 0;
    qint64 m_lastDraw = -1;
    int m_lastTenth = 0;
    QElapsedTimer m_clock;
};
