#include "GenreTable.h"

#include <QHash>

namespace
{
struct Family {
    const char* names;     // the family's names, best first, separated by "|"
    const char* spellings; // genres of the family, separated by "|"
};

// Families in the order of their weight: a spelling listed twice belongs to the first.
constexpr Family kFamilies[] = {
    {"R&B|Soul|Funk",
     "R&B/Soul|Soul/R&B|R&B|RnB|R and B|Rhythm and Blues|Soul|Funk|Funk / Soul|Funk/Soul|"
     "Motown|Neo Soul|Neo-Soul|Contemporary R&B|Gospel|Soul and R&B"},
    {"Hip-Hop|Hip Hop|Rap",
     "Hip-Hop/Rap|Hip Hop/Rap|Hip-Hop|Hip Hop|HipHop|Rap|Rap/Hip-Hop|Trap|Urban|Grime"},
    {"Dance|Disco|Electronic|Electronica",
     "Dance/Disco|Disco|Dance|Electronic/Dance|Dance/Electronic|Electronic|Electronica|EDM|"
     "House|Deep House|Techno|Trance|Electro|Eurodance|Dance Pop|Nu Disco|Drum & Bass|"
     "Dubstep|Club"},
    {"Latin|Reggaeton",
     "Latin|Latino|Latin Pop|Reggaeton|Reggaetón|Salsa|Bachata|Merengue|Cumbia|Samba|"
     "Bossa Nova|Mambo|Cha Cha|Tango|Flamenco"},
    {"Country|Folk",
     "Country & Folk|Country/Folk|Country|Folk|Americana|Bluegrass|Country Pop|Western"},
    {"Jazz|Swing|Blues",
     "Jazz|Swing|Big Band|Jazz & Swing|Vocal Jazz|Smooth Jazz|Blues|Lounge|Crooners"},
    {"Singer-Songwriter|Folk|Pop",
     "Singer-Songwriter|Singer/Songwriter|Songwriter|Acoustic|Adult Contemporary"},
    {"Rock", "Rock|Alternative|Alternative Rock|Alternative & Punk|Indie|Indie Rock|Hard Rock|"
             "Classic Rock|Soft Rock|Metal|Heavy Metal|Punk|Rock & Roll|Rock and Roll|Rockabilly|"
             "Rock/Pop|Grunge"},
    {"Pop", "Pop|Pop/Rock|Synthpop|Synth-Pop|K-Pop|J-Pop|Teen Pop|Schlager|Chanson|Oldies"},
    {"Traditional|Folk", "Traditional|Polka|Waltz|World|Ceremony|Classical|Children's"},
};

const QHash<QString, QStringList>& table()
{
    static const QHash<QString, QStringList> byKey = [] {
        QHash<QString, QStringList> t;
        for (const Family& f : kFamilies) {
            const QStringList names = QString::fromUtf8(f.names).split(QLatin1Char('|'));
            for (const QString& s : QString::fromUtf8(f.spellings).split(QLatin1Char('|')))
                if (!t.contains(GenreTable::key(s)))
                    t.insert(GenreTable::key(s), names);
        }
        return t;
    }();
    return byKey;
}
} // namespace

QString GenreTable::key(const QString& genre)
{
    QString k;
    for (const QChar c : genre.toCaseFolded()) {
        if (c == QLatin1Char('&'))
            k += QLatin1String("and");
        else if (c.isLetterOrNumber())
            k += c;
    }
    return k;
}

QStringList GenreTable::familiesOf(const QString& genre)
{
    return table().value(key(genre));
}
