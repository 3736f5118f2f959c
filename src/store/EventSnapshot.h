#pragma once

#include "store/EventPlan.h"

#include <optional>

class QString;

// The whole event of one file in one snapshot, for the tools that only read (the plan tool
// and the entertainer's desk). The folder is left as it was found: a file open in the wizard
// is read through its log in one read transaction; a file open nowhere is read as it stands
// (no log or index files made beside it, no write right needed), and read again should a
// program have written it meanwhile.
namespace EventSnapshot
{
// The event, or nothing with `error` naming the file and the reason.
std::optional<EventPlan> read(const QString& file, QString* error);
} // namespace EventSnapshot
