#pragma once

#include <QLockFile>
#include <QString>

// One import at a time per catalogue: a lock file beside it ("songlist.mdb.lock") that names
// the process holding it. A second import into the same catalogue is refused with a message
// naming that process, so two imports never both write; a lock left by a process that is
// gone is taken over. The lock is given back when the object goes.
class ImportLock
{
  public:
    explicit ImportLock(const QString& catalogue);

    // Takes the lock, waiting up to `waitMs`; false with `error` saying who holds it.
    bool take(int waitMs, QString* error);

  private:
    QString m_catalogue;
    QLockFile m_lock;
};
