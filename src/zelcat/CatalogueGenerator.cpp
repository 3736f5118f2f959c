#include "CatalogueGenerator.h"

#include <QStringList>

#include <array>

namespace
{
// Words of song titles, weighted towards the words reception songs are made of.
constexpr std::array kTitleWords{
    "Love",      "Heart", "Dance",  "Night",  "Forever",   "Tonight", "Baby",      "Girl",
    "Time",      "Life",  "Dream",  "Home",   "Summer",    "Fire",    "Moon",      "Stars",
    "Sky",       "Rain",  "Sweet",  "Little", "Together",  "Always",  "Wonderful", "Beautiful",
    "Celebrate", "Shout", "Party",  "Feel",   "Hold",      "Kiss",    "Light",     "Sunshine",
    "Crazy",     "Wild",  "Golden", "River",  "Road",      "Highway", "Angel",     "Honey",
    "Perfect",   "Only",  "You",    "Me",     "My",        "Your",    "The",       "In",
    "Of",        "On",    "To",     "And",    "With",      "All",     "Never",     "Let's",
    "Stay",      "Move",  "Groove", "Boogie", "Rock",      "Roll",    "Twist",     "Shake",
    "Blue",      "Red",   "Cherry", "Wine",   "Champagne", "Diamond", "Ring",      "Bells",
    "Wedding",   "Bride", "Lady",   "Man",    "Woman",     "Friend",  "Wish",      "Promise"};
constexpr std::array kFirstNames{
    "Ella",    "Frank",  "Aretha", "Marvin", "Dolly",  "Elvis",  "Tina",    "Stevie",
    "Whitney", "Bruno",  "Adele",  "Ed",     "Lionel", "Shania", "Garth",   "Alicia",
    "John",    "Etta",   "Luther", "Patsy",  "Diana",  "Sam",    "Otis",    "Carole",
    "Billy",   "Kenny",  "Reba",   "Mariah", "Jason",  "Keith",  "Norah",   "Ray",
    "Harry",   "Taylor", "Chris",  "Blake",  "Carrie", "Josh",   "Michael", "Gloria"};
constexpr std::array kLastNames{"Walker", "Harper",  "Monroe",   "Sinclair", "Delgado",  "Brooks",
                                "Lane",   "Everett", "Hayes",    "Quinn",    "Marsh",    "Holloway",
                                "Carter", "Ellis",   "Fontaine", "Morgan",   "Reyes",    "Bishop",
                                "Tucker", "Wren",    "Castillo", "Vaughn",   "Sterling", "Blake",
                                "Rhodes", "Pryce",   "Dawson",   "Keller",   "Lowell",   "Bennett"};
constexpr std::array kBandNouns{
    "Comets",   "Tides",  "Sparks", "Drifters", "Rangers", "Velvets", "Monarchs", "Satellites",
    "Lanterns", "Rivals", "Echoes", "Jets",     "Hearts",  "Crowns",  "Bells",    "Strangers"};
constexpr std::array kBandAdjectives{"Silver",   "Electric", "Midnight", "Crimson", "Golden",
                                     "Northern", "Lucky",    "Velvet",   "Broken",  "Neon"};
} // namespace

QString CatalogueGenerator::title()
{
    // Mostly two to four words, sometimes one, sometimes a long title of five or six.
    static constexpr std::array kWordCounts{1, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 5, 6};
    const int words = kWordCounts[below(kWordCounts.size())];
    QStringList parts;
    for (int w = 0; w < words; ++w)
        parts << QString::fromLatin1(kTitleWords[below(kTitleWords.size())]);
    if (below(20) == 0)
        parts << QStringLiteral("(Remix)");
    return parts.join(QLatin1Char(' '));
}

QString CatalogueGenerator::artist()
{
    switch (below(5)) {
    case 0:
        return QStringLiteral("The ") + QString::fromLatin1(kBandNouns[below(kBandNouns.size())]);
    case 1:
        return QString::fromLatin1(kBandAdjectives[below(kBandAdjectives.size())]) +
               QLatin1Char(' ') + QString::fromLatin1(kBandNouns[below(kBandNouns.size())]);
    case 2:
        return QString::fromLatin1(kFirstNames[below(kFirstNames.size())]) +
               QStringLiteral(" & The ") +
               QString::fromLatin1(kBandNouns[below(kBandNouns.size())]);
    default:
        return QString::fromLatin1(kFirstNames[below(kFirstNames.size())]) + QLatin1Char(' ') +
               QString::fromLatin1(kLastNames[below(kLastNames.size())]);
    }
}

QList<CatalogueSong> CatalogueGenerator::generate(qint64 count, const SettingsSheet& settings)
{
    const int types = qMax(1, settings.typeCount());
    const int subTypes = settings.subTypeCount();
    const QString codes = settings.usedCategoryCodes();

    QList<CatalogueSong> songs;
    songs.reserve(count);
    for (qint64 key = 1; key <= count; ++key) {
        CatalogueSong s;
        s.key = key;
        s.title = title();
        s.artist = artist();
        s.year = QString::number(1950 + below(75));
        const int seconds = 130 + int(below(260)); // 2:10 .. 6:29
        s.length =
            QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
        s.type = 1 + int(below(quint32(types)));
        s.subType = subTypes > 0 && below(10) != 0 ? 1 + int(below(quint32(subTypes))) : 0;
        // About half the songs are in no category; the rest in one to three.
        if (!codes.isEmpty() && below(2) == 0) {
            const int n = 1 + int(below(3));
            for (int c = 0; c < n; ++c) {
                const QChar code = codes[below(quint32(codes.size()))];
                if (!s.matrix.contains(code))
                    s.matrix += code;
            }
        }
        songs.append(s);
    }
    return songs;
}
