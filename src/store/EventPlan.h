#pragma once

#include "store/FacilityRecord.h"
#include "store/PersonRecord.h"
#include "store/PickedSongRecord.h"

#include <QDate>
#include <QList>
#include <QTime>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class StoreSession;

// The event's date and times as day counts (date part and/or time of day).
struct EventTimes {
    double EventDate = 0;
    double StartTime = 0;
    double EndTime = 0;
    double SetupTime = 0;
    bool DateStored = false; // false: EventDate is the default (the day the file was read)
};

// How the entertainer should dress and behave: option indexes 0..2 and the notes.
struct Guidelines {
    static const std::array<QString, 3> kLooks;    // "Casual", ...
    static const std::array<QString, 3> kAttitude; // "Non-Interactive", ...
    qint16 Looks = 0;                              // Casual
    qint16 Attitude = 1;                           // Moderately Interactive
    QString Notes;                                 // as stored: lines separated by CR LF
};

// One member of the bridal party, in the list's column order.
struct PartyMember {
    QString Name;
    QString Role;
    QString Escort;
    QString EscortRole;
    QString Pronunciation;
    QString EscortPronunciation;
    // How the member's and the escort's names are said; they travel with the row.
    NameVoice MemberVoice{};
    NameVoice EscortVoice{};
    bool operator==(const PartyMember&) const = default;
};

// A value of the plan decoded from its stored form: the couple's answer (Given), no answer
// stored (NotGiven: `value` holds what the page offers instead), or a stored text that is no
// such value or lies outside its range (Unreadable: `value` holds the page's default too).
// The plan prints the last two as "not chosen yet" and "unreadable", never as an answer.
template <typename T>
struct PlanValue {
    enum State { NotGiven, Given, Unreadable };
    State state = NotGiven;
    T value{};
    bool isGiven() const { return state == Given; }
    static PlanValue given(const T& v) { return {Given, v}; }
    bool operator==(const PlanValue&) const = default;
};

// The event's date and times of day, decoded and range-checked.
struct PlanTimes {
    PlanValue<QDate> Date;
    PlanValue<QTime> Start{PlanValue<QTime>::NotGiven, QTime(18, 0)};
    PlanValue<QTime> End{PlanValue<QTime>::NotGiven, QTime(22, 0)};
    PlanValue<QTime> Setup{PlanValue<QTime>::NotGiven, QTime(16, 0)};
    bool operator==(const PlanTimes&) const = default;
};

// A song of the lists with its length in seconds (at most a day).
struct PlanSong {
    static constexpr qint16 kEnteredByHand = -2;
    static constexpr qint16 kMusicProvided = -3;
    qint16 Key = 0; // the catalogue's key, or one of the two above
    QString Title;
    QString Artist;
    PlanValue<int> Length;
    bool musicProvided() const { return Key == kMusicProvided; }
    bool operator==(const PlanSong&) const = default;
};

// One activity of the schedule: its time of day, and the song as the schedule names it.
struct ScheduledActivity {
    qint64 Key = 0;
    PlanValue<QTime> Time;
    QString Name;
    std::optional<qint16> SongKey;
    QString SongTitle;
    QString SongArtist;
    QString Who;
    QString MoreInfo;
    bool operator==(const ScheduledActivity&) const = default;
};

// The ten types of music with a play (true) or avoid (false) answer, and three radio
// stations.
struct MusicPreferences {
    static constexpr int kTypeCount = 10;
    static const std::array<QString, kTypeCount> kTypeNames;
    std::array<bool, kTypeCount> Play{true, true, true, true, true, true, true, true, true, true};
    std::array<QString, 3> Radio;
};

// A whole event as one plain value of typed answers, read from the event database in one
// snapshot with exactly the rules the pages read their answers with (defaults, the party's
// count). Dates, times, song lengths and choices are decoded and range-checked here once;
// the plan document, its checks and the exports read these values alone, never the stored
// texts.
struct EventPlan {
    PersonRecord Bride;
    PersonRecord Groom;
    PlanTimes Times;
    FacilityRecord Facility;
    PlanValue<QString> Guests{PlanValue<QString>::NotGiven, QStringLiteral("50-60")};
    PlanValue<qint16> Looks{PlanValue<qint16>::NotGiven, 0};    // index into Guidelines::kLooks
    PlanValue<qint16> Attitude{PlanValue<qint16>::NotGiven, 1}; // into Guidelines::kAttitude
    QString GuidanceNotes; // lines separated by CR LF, as stored
    QList<PartyMember> Party;
    QList<ScheduledActivity> Schedule;
    MusicPreferences Music;
    QList<PlanSong> Include;
    QList<PlanSong> Exclude;

    // Reads the event of an open session inside one read transaction, so the plan never
    // holds answers of two saves. No value, with `error` set, when a table could not be read.
    static std::optional<EventPlan> read(StoreSession& store, QString* error);

    // The decoding rules, shared with whatever else reads a stored value.
    // A length "m:ss", "h:mm:ss" or whole seconds; Unreadable beyond a day or when malformed,
    // NotGiven when empty.
    static PlanValue<int> lengthOf(const QString& stored);
    // A stored date-time text or day count: Unreadable when it is none or outside the years
    // 100 to 9999.
    static PlanValue<QDate> dateOf(const QString& stored);
    static PlanValue<QTime> timeOf(const QString& stored, const QTime& fallback);
    static PlanValue<QTime> timeOf(const std::optional<double>& stored);
};
