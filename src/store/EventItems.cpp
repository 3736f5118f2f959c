#include "EventItems.h"

#include "platform/OleDate.h"
#include "platform/VbConvert.h"
#include "store/KeyedItemStore.h"

#include <algorithm>
#include <iterator>

namespace
{
QString key(QChar prefix, const char* code)
{
    return QString(prefix) + QLatin1String(code);
}

// Writes items until the first refusal, which it records.
class Writer
{
  public:
    Writer(KeyedItemStore& items, QString* failure) : m_items(items), m_failure(failure) {}
    Writer& str(const QString& key, const QString& value)
    {
        if (m_ok && !m_items.SaveStrItem(key, value))
            fail(key);
        return *this;
    }
    Writer& mem(const QString& key, const QString& value)
    {
        if (m_ok && !m_items.SaveMemItem(key, value))
            fail(key);
        return *this;
    }
    bool ok() const { return m_ok; }

  private:
    void fail(const QString& key)
    {
        m_ok = false;
        if (m_failure)
            *m_failure = QStringLiteral("%1: %2").arg(key, m_items.lastError());
    }
    KeyedItemStore& m_items;
    QString* m_failure;
    bool m_ok = true;
};

// A stored option index: the leading number of the text, rounded halves to even; an index
// that names none of the three options gives the default.
qint16 storedIndex(const QString& text, qint16 fallback)
{
    const qint16 index = VbConvert::leadingInt16(text);
    return index >= 0 && index <= 2 ? index : fallback;
}

// The party's six keys of one row, in column order (name, role, escort, escort's role,
// the two pronunciations), each followed by the row number.
const char* const kPartyKeys[6] = {"BPN", "BPNR", "BPEN", "BPENR", "BPNP", "BPENP"};
// The order a row's items are written in: BPN, BPNP, BPNR, BPEN, BPENP, BPENR.
constexpr int kPartyWriteOrder[6] = {0, 4, 1, 2, 5, 3};
// A default no stored text can equal (texts typed in the dialog never hold control
// characters): tells a missing item from a stored one.
const QString kMissing = QStringLiteral("\x01missing\x01");

QString* partyField(PartyMember& m, int column)
{
    QString* fields[6] = {&m.Name,       &m.Role,          &m.Escort,
                          &m.EscortRole, &m.Pronunciation, &m.EscortPronunciation};
    return fields[column];
}

// Where a key of the party's items puts its value: the column (an index of kPartyKeys) and
// the row, counted from 1; row 0 for a key of no party item.
std::pair<int, int> partyPlace(const QString& key)
{
    qsizetype digits = 2;
    while (digits < key.size() && !key[digits].isDigit())
        ++digits;
    const QString code = key.left(digits).toUpper();
    const auto column = std::find_if(std::begin(kPartyKeys), std::end(kPartyKeys),
                                     [&](const char* k) { return code == QLatin1String(k); });
    // The row numbers as the dialog writes them: 1 to 99999, without leading zeros.
    const qsizetype length = key.size() - digits;
    bool number = column != std::end(kPartyKeys) && length >= 1 && length <= 5 &&
                  key[digits] != QLatin1Char('0');
    for (qsizetype i = digits; number && i < key.size(); ++i)
        number = key[i] >= QLatin1Char('0') && key[i] <= QLatin1Char('9');
    if (!number)
        return {0, 0};
    return {int(column - std::begin(kPartyKeys)), key.mid(digits).toInt()};
}
} // namespace

const std::array<QString, 3> Guidelines::kLooks = {
    QStringLiteral("Casual"), QStringLiteral("Semi-Formal"), QStringLiteral("Formal")};
const std::array<QString, 3> Guidelines::kAttitude = {QStringLiteral("Non-Interactive"),
                                                      QStringLiteral("Moderately Interactive"),
                                                      QStringLiteral("High Energy")};
const std::array<QString, MusicPreferences::kTypeCount> MusicPreferences::kTypeNames = {
    QStringLiteral("Popular 50's"), QStringLiteral("Popular 60's"), QStringLiteral("Popular 70's"),
    QStringLiteral("Popular 80's"), QStringLiteral("Popular 90's"), QStringLiteral("Jazz/Big Band"),
    QStringLiteral("Country"),      QStringLiteral("Hip Hop/Rap"),  QStringLiteral("Pop/Top 40"),
    QStringLiteral("Ethnic")};

PersonRecord EventItems::readPerson(KeyedItemStore& store, QChar prefix)
{
    PersonRecord person;
    person.Name = store.GetStrItem(key(prefix, "N"), QString());
    // A name of one blank counts: only emptiness makes a person incomplete.
    person.Complete = !person.Name.isEmpty();
    person.Age = store.GetStrItem(key(prefix, "AG"), QString());
    person.Pronunciation = store.GetStrItem(key(prefix, "PR"), QString());
    person.Address = store.GetMemItem(key(prefix, "A"), QString());
    person.Phone1 = store.GetStrItem(key(prefix, "P1"), QString());
    person.Phone2 = store.GetStrItem(key(prefix, "P2"), QString());
    person.Phone3 = store.GetStrItem(key(prefix, "P3"), QString());
    person.PhoneKind1 = store.GetStrItem(key(prefix, "P4"), QStringLiteral("work"));
    person.PhoneKind2 = store.GetStrItem(key(prefix, "P5"), QStringLiteral("home"));
    person.PhoneKind3 = store.GetStrItem(key(prefix, "P6"), QStringLiteral("other"));
    person.Email = store.GetStrItem(key(prefix, "EM"), QString());
    return person;
}

bool EventItems::savePerson(KeyedItemStore& store, const PersonRecord& person, QChar prefix,
                            QString* failure)
{
    return Writer(store, failure)
        .str(key(prefix, "N"), person.Name)
        .str(key(prefix, "AG"), person.Age)
        .str(key(prefix, "PR"), person.Pronunciation)
        .mem(key(prefix, "A"), person.Address)
        .str(key(prefix, "P1"), person.Phone1)
        .str(key(prefix, "P2"), person.Phone2)
        .str(key(prefix, "P3"), person.Phone3)
        .str(key(prefix, "P4"), person.PhoneKind1)
        .str(key(prefix, "P5"), person.PhoneKind2)
        .str(key(prefix, "P6"), person.PhoneKind3)
        .str(key(prefix, "EM"), person.Email)
        .ok();
}

bool EventItems::isShowableDate(double value)
{
    // The pickers show years 100 to 9999; a value outside them counts as missing.
    const QDate date = OleDate::datePart(value);
    return date.isValid() && date >= QDate(100, 1, 1) && date <= QDate(9999, 12, 31);
}

EventTimes EventItems::readTimes(KeyedItemStore& store, double now)
{
    // The date conversion takes the decimal day count (the stored form of the date) as well
    // as date-time text (the stored form of the times). A value it cannot read, or one the
    // pickers cannot show, counts as missing.
    auto read = [&store](const char* k, const QString& defaultText, double fallback,
                         bool* stored = nullptr) {
        const std::optional<double> value =
            OleDate::fromText(store.GetStrItem(QLatin1String(k), defaultText));
        const bool usable = value && isShowableDate(*value);
        if (stored)
            *stored = usable && store.GetStrItem(QLatin1String(k), kMissing) != kMissing;
        return usable ? *value : fallback;
    };
    EventTimes t;
    t.EventDate = read("ED", OleDate::toGeneralText(now), now, &t.DateStored);
    t.StartTime =
        read("EST", QStringLiteral("6:00 PM"), *OleDate::fromText(QStringLiteral("6:00 PM")));
    t.EndTime =
        read("EET", QStringLiteral("10:00 PM"), *OleDate::fromText(QStringLiteral("10:00 PM")));
    t.SetupTime =
        read("ERT", QStringLiteral("4:00 PM"), *OleDate::fromText(QStringLiteral("4:00 PM")));
    return t;
}

FacilityRecord EventItems::readFacility(KeyedItemStore& store)
{
    FacilityRecord facility;
    facility.Name = store.GetStrItem(QStringLiteral("EF"), QString());
    facility.Address = store.GetMemItem(QStringLiteral("EFA"), QString());
    facility.Contact = store.GetStrItem(QStringLiteral("EFC"), QString());
    facility.Number = store.GetStrItem(QStringLiteral("EFN1"), QString());
    facility.NumberKind = store.GetStrItem(QStringLiteral("EFN2"), QStringLiteral("office"));
    facility.Directions = store.GetMemItem(QStringLiteral("EFD"), QString());
    return facility;
}

QString EventItems::readGuests(KeyedItemStore& store)
{
    return store.GetStrItem(QStringLiteral("NG"), QStringLiteral("50-60"));
}

bool EventItems::saveTimesAndPlace(KeyedItemStore& store, const EventTimes& times,
                                   const FacilityRecord& facility, const QString& guests,
                                   QString* failure)
{
    return Writer(store, failure)
        .str(QStringLiteral("ED"), OleDate::toDayCountText(times.EventDate))
        .str(QStringLiteral("EST"), OleDate::toGeneralText(times.StartTime))
        .str(QStringLiteral("EET"), OleDate::toGeneralText(times.EndTime))
        .str(QStringLiteral("ERT"), OleDate::toGeneralText(times.SetupTime))
        .str(QStringLiteral("EF"), facility.Name)
        .mem(QStringLiteral("EFA"), facility.Address)
        .str(QStringLiteral("EFC"), facility.Contact)
        .str(QStringLiteral("EFN1"), facility.Number)
        .str(QStringLiteral("EFN2"), facility.NumberKind)
        .mem(QStringLiteral("EFD"), facility.Directions)
        .str(QStringLiteral("NG"), guests)
        .ok();
}

Guidelines EventItems::readGuidelines(KeyedItemStore& store)
{
    Guidelines g;
    g.Looks = storedIndex(store.GetStrItem(QStringLiteral("DL"), QStringLiteral("0")), 0);
    g.Attitude = storedIndex(store.GetStrItem(QStringLiteral("DA"), QStringLiteral("1")), 1);
    g.Notes = store.GetMemItem(QStringLiteral("DN"), QString());
    return g;
}

bool EventItems::saveGuidelines(KeyedItemStore& store, const Guidelines& g, QString* failure)
{
    return Writer(store, failure)
        .str(QStringLiteral("DL"), QString::number(g.Looks))
        .str(QStringLiteral("DA"), QString::number(g.Attitude))
        .mem(QStringLiteral("DN"), g.Notes)
        .ok();
}

QList<PartyMember> EventItems::readParty(KeyedItemStore& store)
{
    // BPCOUNT is a 16-bit number (a text that is no number reads as 0, one beyond the
    // range as its end), but it is only believed as far as rows were really stored: a count
    // far above the stored rows would otherwise fill the page with thousands of blank rows.
    // Rows up to the highest stored one that lack items show blanks, as a missing item
    // always does.
    const int count =
        VbConvert::leadingInt16(store.GetStrItem(QStringLiteral("BPCOUNT"), QStringLiteral("0")));
    QList<PartyMember> party;
    if (count < 1)
        return party;
    // All of the party's items in one read: a party of thousands is read in a moment.
    struct Item {
        int column, row;
        QString value;
    };
    QList<Item> items;
    int highest = 0;
    // A table that cannot be read holds no rows, as each of its items would read as missing.
    if (!store.strItemsStartingWith(QStringLiteral("BP"), [&](const QString& key, const QString& value) {
            if (const auto [column, row] = partyPlace(key); row > 0) {
                highest = std::max(highest, row);
                if (!value.isNull())
                    items.append({column, row, value});
            }
        }))
        return party;
    // A missing item shows a blank.
    PartyMember blanks;
    for (int c = 0; c < 6; ++c)
        *partyField(blanks, c) = QStringLiteral(" ");
    party.fill(blanks, std::min(count, highest));
    // The table's keys are unique without regard to letter case.
    for (const Item& item : items)
        if (item.row <= party.size())
            *partyField(party[item.row - 1], item.column) = item.value;
    return party;
}

bool EventItems::saveParty(KeyedItemStore& store, const QList<PartyMember>& party, QString* failure)
{
    Writer w(store, failure);
    w.str(QStringLiteral("BPCOUNT"), VbConvert::strOf(qint16(party.size())));
    for (qsizetype i = 0; i < party.size() && w.ok(); ++i) {
        PartyMember m = party[i];
        const QString number = QString::number(i + 1);
        for (int c : kPartyWriteOrder)
            w.str(QLatin1String(kPartyKeys[c]) + number, *partyField(m, c));
    }
    return w.ok();
}

MusicPreferences EventItems::readMusic(KeyedItemStore& store)
{
    // "False" in any letter case means avoid; anything else, including texts the page never
    // writes, means play, the answer when nothing was chosen.
    MusicPreferences music;
    for (int n = 1; n <= MusicPreferences::kTypeCount; ++n)
        music.Play[n - 1] = store.GetStrItem(QStringLiteral("MTP%1").arg(n), QStringLiteral("True"))
                                .trimmed()
                                .compare(QLatin1String("False"), Qt::CaseInsensitive) != 0;
    for (int i = 0; i < 3; ++i)
        music.Radio[i] = store.GetStrItem(QStringLiteral("FRS%1").arg(i + 1), QString());
    return music;
}

bool EventItems::saveMusic(KeyedItemStore& store, const MusicPreferences& music, QString* failure)
{
    Writer w(store, failure);
    for (int n = 1; n <= MusicPreferences::kTypeCount; ++n)
        w.str(QStringLiteral("MTP%1").arg(n),
              music.Play[n - 1] ? QStringLiteral("True") : QStringLiteral("False"));
    for (int i = 0; i < 3; ++i)
        w.str(QStringLiteral("FRS%1").arg(i + 1), music.Radio[i]);
    return w.ok();
}
