#pragma once

#include <QString>
#include <QtGlobal>

// The two jobs of the catalogue builder: build the catalogue from its source files (songs
// and settings as CSV), or generate a synthetic catalogue of a given size. Either writes
// the catalogue file whole or leaves the target untouched and says why in errorString(),
// naming the file and line of bad input.
class CatalogueBuilder
{
  public:
    static constexpr qint64 kMaxKey16 = 32767;
    // A bound for stress catalogues beyond the 16-bit keys.
    static constexpr qint64 kMaxStressCount = 2000000;

    bool build(const QString& songsFile, const QString& settingsFile, const QString& outFile);

    // `settingsFile` may be empty: a plain set of settings is used then.
    // More than 32767 songs only with `allowBeyond16Bit` (their keys do not fit the wizard).
    bool generate(qint64 count, quint32 seed, bool allowBeyond16Bit, const QString& settingsFile,
                  const QString& outFile);

    qint64 songCount() const { return m_songCount; }
    qint64 settingCount() const { return m_settingCount; }
    QString errorString() const { return m_error; }

  private:
    qint64 m_songCount = 0;
    qint64 m_settingCount = 0;
    QString m_error;
};
