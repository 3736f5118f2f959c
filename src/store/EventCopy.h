#pragma once

#include <QString>

// A copy of an event database made with the engine's online backup: the copy holds the file
// as it stood at one committed moment, also while another connection is writing, and is one
// self-contained file (no journal beside it). It is built under a temporary name beside the
// target, checked, and then replaces the target whole (SafeReplace), so the target is never
// a half-written file.
class EventCopy
{
  public:
    // Copies `source` to `target`. False with `error` set in plain words when it cannot; the
    // target is then as it was.
    static bool save(const QString& source, const QString& target, QString* error);
};
