#pragma once

#include "store/EventPlan.h"

#include <QString>

class KeyedItemStore;

// The keyed items of each page: which keys hold an answer, their defaults, and how the
// stored text turns into the answer and back. The pages' load and save routines and
// EventPlan use these alone, so what a page shows and what a plan says cannot differ.
//
// Saves stop at the first refused item and return false with `failure` naming the key and
// the reason; the caller's transaction then undoes the items written before it.
class EventItems
{
  public:
    // The couple: prefix 'B' for the bride, 'G' for the groom.
    static PersonRecord readPerson(KeyedItemStore& items, QChar prefix);
    static bool savePerson(KeyedItemStore& items, const PersonRecord& person, QChar prefix,
                           QString* failure);

    // Date and times (ED, EST, EET, ERT), the facility and the number of guests. `now` is
    // the date offered when none is stored.
    static EventTimes readTimes(KeyedItemStore& items, double now);
    static FacilityRecord readFacility(KeyedItemStore& items);
    static QString readGuests(KeyedItemStore& items);
    static bool saveTimesAndPlace(KeyedItemStore& items, const EventTimes& times,
                                  const FacilityRecord& facility, const QString& guests,
                                  QString* failure);
    // The earliest and latest day counts a stored date may hold to be believed.
    static bool isShowableDate(double value);

    static Guidelines readGuidelines(KeyedItemStore& items);
    static bool saveGuidelines(KeyedItemStore& items, const Guidelines& guidelines,
                               QString* failure);

    // The party: BPCOUNT and six items per member. The count is believed only as far as
    // rows were really stored; a member's missing item reads as one blank.
    static QList<PartyMember> readParty(KeyedItemStore& items);
    static bool saveParty(KeyedItemStore& items, const QList<PartyMember>& party, QString* failure);

    static MusicPreferences readMusic(KeyedItemStore& items);
    static bool saveMusic(KeyedItemStore& items, const MusicPreferences& music, QString* failure);
};
