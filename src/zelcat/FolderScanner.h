#pragma once

#include "ImportSummary.h"
#include "ImportedSong.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include <utility>

// Finds the audio files in a folder and all folders below it, each with its size and
// modification time; the tags are read later. Files and folders whose names begin with a
// dot are passed over (system and sidecar files). Symbolic links are followed, each folder
// is scanned once, and a link back to a folder that contains it is reported as a loop.
// A name that is not valid UTF-8, a link to nothing, a folder that cannot be read and an
// audio name that is not a regular file are reported and passed over. Files come sorted by
// name within each folder, so the order is the same on every run.
//
// Paths are made of the folders' canonical paths and the files' names, so the same file
// has the same path however it was reached.
class FolderScanner
{
  public:
    explicit FolderScanner(ImportSummary& summary) : m_summary(summary) {}

    // Adds the audio files below `folder` to files(); false when the folder itself cannot
    // be read (reported in the summary).
    bool scan(const QString& folder);
    // Adds one file named directly as a source.
    bool addFile(const QString& path);

    QList<ImportedSong>& files() { return m_files; }
    // False when a folder below the scanned one could not be read.
    bool whole() const { return m_whole; }

  private:
    using Node = std::pair<quint64, quint64>; // device, inode
    bool scanFolder(const QByteArray& path, QList<Node>& chain);
    bool addRegularFile(const QByteArray& path, const QString& shown, qint64 size, qint64 mtime);

    ImportSummary& m_summary;
    QList<ImportedSong> m_files;
    QSet<QString> m_known; // paths already in files()
    QSet<Node> m_scanned;  // folders already scanned
    bool m_whole = true;
};
