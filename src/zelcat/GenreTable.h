#pragma once

#include <QString>
#include <QStringList>

// The common spellings of genres as libraries, shops and DJ programs write them ("R&B/Soul",
// "Hip-Hop/Rap", "Hip Hop", "Dance/Disco", "Funk / Soul", "Electronic/Dance", ...), each with
// the family names a catalogue's music types are likely to be called, best first. Spellings
// are compared by their letters and digits only, "&" read as "and", letter case aside.
class GenreTable
{
  public:
    // The family names for `genre`, best first; empty when the table does not know it.
    static QStringList familiesOf(const QString& genre);
    // The genre as the table compares it.
    static QString key(const QString& genre);
};
