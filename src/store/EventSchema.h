#pragma once

#include <QString>

class SqlConnection;

// What makes a file the event database of this program, checked before anything is
// written to it: the five tables with their columns, and the format version in
// PRAGMA user_version.
//
// A file of a later version is refused untouched. A file of an earlier version (a file
// with the five tables and no version counts as version 0) is upgraded step by step, in
// one transaction, so it is either wholly of the current version or as it was.
class EventSchema
{
  public:
    // The format version this program writes and reads.
    static constexpr int kCurrentVersion = 1;

    enum Verdict { Ours, Foreign, Newer, Failed };

    // Reads the tables, columns and version of the open connection without writing.
    // `reason` tells a refusal in words a user understands.
    static Verdict inspect(const SqlConnection& conn, int* version, QString* reason);

    // A quick check of the file's pages and indexes, reading only. False with `reason` set
    // for a damaged file.
    static bool isWhole(const SqlConnection& conn, QString* reason);

    // Brings a file of an earlier version up to the current one. Returns false with
    // `reason` set when a step fails; the file is then as it was.
    static bool upgrade(const SqlConnection& conn, int fromVersion, QString* reason);
};
