#pragma once

#include "SettingsSheet.h"

#include <QHash>
#include <QMap>
#include <QString>

// Turns a song's genre into one of the catalogue's music types and its BPM into a
// sub-type, with the catalogue's settings.
//
// A genre takes the type whose name it is, without regard to letter case; a type named
// with several words joined by " / " or " & " ("R&B / Soul") also takes each of them.
// A mapping file (CSV "genre,type", the type as its number or name) names the types of
// other genres and comes first. Then the built-in table of common spellings (GenreTable)
// gives a genre the type named like its family; a genre of several ("Pop/Rock") takes the
// first of them that has a type. Every other genre, and a song without one, takes the
// default type (type 1 unless set).
//
// BPM gives the sub-types named Slow, Mid-Tempo and Up-Tempo (letter case, blanks and
// hyphens aside): below `slowBelow` slow, from `upTempoFrom` on up-tempo, mid-tempo
// between. A catalogue without such sub-types gets none.
class GenreTypeMapper
{
  public:
    static constexpr double kDefaultSlowBelow = 90;
    static constexpr double kDefaultUpTempoFrom = 120;

    explicit GenreTypeMapper(const SettingsSheet& settings);

    // Reads a mapping file; false with `error` naming the file and line.
    bool loadMappingFile(const QString& fileName, QString* error);
    // The default type by number or name; false with `error` when there is no such type.
    bool setDefaultType(const QString& type, QString* error);
    bool setTempoBounds(double slowBelow, double upTempoFrom, QString* error);

    // The type for `genre`; `matched` tells whether a name or the mapping gave it.
    int typeFor(const QString& genre, bool* matched = nullptr) const;
    // The sub-type for `bpm` (0 when BPM is not given or the catalogue lacks the sub-type).
    int subTypeFor(double bpm) const;
    bool hasTempoSubTypes() const { return m_slow > 0 && m_mid > 0 && m_up > 0; }

    int defaultType() const { return m_defaultType; }
    QString typeName(int type) const;

  private:
    int typeByText(const QString& text) const;
    int typeOfGenre(const QString& genre) const;

    const SettingsSheet& m_settings;
    QHash<QString, int> m_byName;    // case-folded type name or word -> type
    QHash<QString, int> m_byMapping; // case-folded genre -> type
    int m_defaultType = 1;
    int m_slow = 0, m_mid = 0, m_up = 0;
    double m_slowBelow = kDefaultSlowBelow;
    double m_upTempoFrom = kDefaultUpTempoFrom;
};
