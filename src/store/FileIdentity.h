#pragma once

#include <QString>

// Which file a name stands for: its device and file number, so a file moved away and
// another put in its place are told apart from the file that was opened.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool exists = false;

    static FileIdentity of(const QString& fileName);
    bool operator==(const FileIdentity&) const = default;
};
