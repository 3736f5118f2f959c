#pragma once

#include "CatalogueSong.h"
#include "SettingsSheet.h"

#include <QList>
#include <QString>

// Writes a song catalogue file: table MUSIC (one row per song) with an index on the title
// for the search's sort and scan, and table Config with the settings as keyed items.
//
// The file is written under a temporary name beside the target and renamed over it only
// when complete, so a failed build never leaves a half-written catalogue or harms the old
// one. The catalogue is only read by the wizard, so it uses a plain rollback journal (no
// write-ahead files beside it) and carries fresh planner statistics.
class CatalogueWriter
{
  public:
    enum KeyRange {
        SixteenBit, // dbKey 1..32767, enforced by the table itself
        Unbounded,  // any positive dbKey; only for stress catalogues
    };

    static constexpr int kFormatVersion = 1;

    bool write(const QString& fileName, const SettingsSheet& settings,
               const QList<CatalogueSong>& songs, KeyRange range = SixteenBit);

    QString errorString() const { return m_error; }

  private:
    bool fill(const QString& connectionName, const SettingsSheet& settings,
              const QList<CatalogueSong>& songs, KeyRange range);

    QString m_error;
};
