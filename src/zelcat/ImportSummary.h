#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// An input an import could not use, and why: a file, a line of a listing, a folder.
struct ImportSkip {
    QString file;
    int line = 0; // 0: the whole file
    QString reason;
    QString where() const;
};

// What an import did: how many songs it added, updated, left unchanged, kept although no
// source names them any more, removed (--prune), and every input it skipped with its reason.
// Prints itself for the user and writes the skipped inputs as a CSV report.
class ImportSummary
{
  public:
    int added = 0;
    int updated = 0;
    int unchanged = 0;
    int keptMissing = 0;
    int pruned = 0;
    int returned = 0; // of the added: removed songs that came back with their old keys
    int songsInCatalogue = 0;
    // The skipped inputs listed one by one: at most kMaxListed, so that a listing of a
    // million bad lines does not fill the memory; the others are only counted (unlisted).
    static constexpr qsizetype kMaxListed = 50000;
    QList<ImportSkip> skipped;
    qint64 unlisted = 0;
    QStringList notes; // things the user should know, one sentence each

    qint64 skippedCount() const { return skipped.size() + unlisted; }
    void skip(const QString& file, int line, const QString& reason)
    {
        if (skipped.size() < kMaxListed)
            skipped.append({file, line, reason});
        else
            ++unlisted;
    }
    // The same, for a place written as "file" or "file:line".
    void skipAt(const QString& origin, const QString& reason);
    // A damaged file is passed over whole: the reports of its single entries since
    // `skippedBefore` (a skippedCount()) are taken back and the fault is reported at its line.
    void passOver(const QString& file, qint64 skippedBefore, int line, const QString& fault)
    {
        skipped.resize(qMin(skippedBefore, qint64(kMaxListed)));
        unlisted = qMax(qint64(0), skippedBefore - kMaxListed);
        skip(file, line, QStringLiteral("%1; the file is passed over").arg(fault));
    }
    // The summary as lines of text; at most `maxSkipped` skipped inputs are listed.
    QString text(int maxSkipped = 10) const;
    // Only the notes and the skipped inputs: what an import that stopped has to say.
    QString reasons(int maxSkipped = 10) const;
    // Writes every skipped input as CSV (file,line,reason); false with `error` on failure.
    bool writeReport(const QString& fileName, QString* error) const;
};
