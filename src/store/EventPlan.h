#pragma once

#include "store/FacilityRecord.h"
#include "store/PersonRecord.h"
#include "store/PickedSongRecord.h"

#include <QList>
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

// One activity of the schedule as stored.
struct ScheduledActivity {
    qint64 Key = 0;
    std::optional<double> Scheduled;
    QString Name;
    std::optional<qint16> SongKey;
    QString SongTitle;
    QString SongArtist;
    QString Who;
    QString MoreInfo;
};

// The ten types of music with a play (true) or avoid (false) answer, and three radio
// stations.
struct MusicPreferences {
    static constexpr int kTypeCount = 10;
    static const std::array<QString, kTypeCount> kTypeNames;
    std::array<bool, kTypeCount> Play{true, true, true, true, true, true, true, true, true, true};
    std::array<QString, 3> Radio;
};

// A whole event as one plain value, read from the event database in one go with exactly
// the rules the pages read their answers with (defaults, numbers, dates, the party's
// count). The plan document, its checks and the exports are made from it alone.
struct EventPlan {
    PersonRecord Bride;
    PersonRecord Groom;
    EventTimes Times;
    FacilityRecord Facility;
    QString Guests;
    Guidelines Guidance;
    QList<PartyMember> Party;
    QList<ScheduledActivity> Schedule;
    MusicPreferences Music;
    QList<PickedSongRecord> Include;
    QList<PickedSongRecord> Exclude;

    // Reads the event of an open session. No value, with `error` set, when a table could
    // not be read.
    static std::optional<EventPlan> read(StoreSession& store, QString* error);
};
