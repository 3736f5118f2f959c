#pragma once

#include "CatalogueSong.h"
#include "SettingsSheet.h"
#include "catalogue/CatalogueFormat.h"

#include <QList>
#include <QString>

// Writes a song catalogue file as CatalogueFormat defines it: table MUSIC (one row per song)
// with its indexes for the search's sorts and scans, and table Config with the settings as
// keyed items.
//
// The file is written under a temporary name beside the target and replaces it only when
// complete (SafeReplace), so a failed build never leaves a half-written catalogue or harms
// the old one. The catalogue is only read by the wizard, so it uses a plain rollback journal (no
// write-ahead files beside it) and carries fresh planner statistics.
class CatalogueWriter
{
  public:
    using KeyRange = CatalogueFormat::KeyRange;
    static constexpr KeyRange SixteenBit = CatalogueFormat::SixteenBit;
    static constexpr KeyRange Unbounded = CatalogueFormat::Unbounded;

    bool write(const QString& fileName, const SettingsSheet& settings,
               const QList<CatalogueSong>& songs, KeyRange range = SixteenBit);

    // Fills an empty database open on `connectionName` as `write` does, for a caller that
    // replaces the file itself.
    bool fill(const QString& connectionName, const SettingsSheet& settings,
              const QList<CatalogueSong>& songs, KeyRange range = SixteenBit);

    QString errorString() const { return m_error; }

  private:

    QString m_error;
};
