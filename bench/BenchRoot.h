#pragma once

#include <QString>
#include <QTemporaryDir>

// A root of a benchmark's own: the fixed folders under a temporary folder (ZEL_ROOT) and a
// settings hive with the data marked installed (HIVELET_HIVE), so a start-up neither shows
// the data loader nor touches the user's files and settings. Sets the offscreen platform
// unless the caller chose one; make it before the application object.
class BenchRoot
{
  public:
    BenchRoot();
    bool isReady() const { return m_ready; }
    // The mapped c:\orba\zel\ (created).
    QString dbFolder() const;

  private:
    QTemporaryDir m_dir;
    bool m_ready = false;
};
