#pragma once

#include "store/EventPlan.h"

#include <QList>
#include <QString>

// What changed between two versions of an event: every answer added, removed or changed, as
// plain sentences, each with the wizard page it was given on (1 = Bride and Groom ... 8 = the
// songs to exclude), in page order.
//
// Activities of the schedule are matched by their key first, then by their name; members of
// the bridal party by their name; songs of the lists as the plan's checks match them (the
// catalogue key, else title and artist); a song on both versions of a list is reported when
// its length changed or it became or stopped being music the couple provides.
class PlanDiff
{
  public:
    struct Change {
        int page = 0;
        QString text;
        bool operator==(const Change&) const = default;
    };

    PlanDiff(const EventPlan& before, const EventPlan& after);

    const QList<Change>& changes() const { return m_changes; }
    bool isEmpty() const { return m_changes.isEmpty(); }

    // The sentences under the name of their page; "No changes." when nothing changed.
    QString text() const;
    // The same as a self-contained HTML5 page, the couple's texts in <bdi> elements.
    QString html() const;
    // The page for Qt's text document, which knows the Unicode isolates around the couple's
    // texts but not <bdi>.
    QString richText() const;

  private:
    void add(int page, const QString& text);
    void comparePeople(const EventPlan& before, const EventPlan& after);
    void compareEvent(const EventPlan& before, const EventPlan& after);
    void compareGuidelines(const EventPlan& before, const EventPlan& after);
    void compareParty(const QList<PartyMember>& before, const QList<PartyMember>& after);
    void compareSchedule(const QList<ScheduledActivity>& before,
                         const QList<ScheduledActivity>& after);
    void compareMusic(const MusicPreferences& before, const MusicPreferences& after);
    void compareSongs(int page, const QString& list, const QList<PlanSong>& before,
                      const QList<PlanSong>& after);

    QList<Change> m_changes;
};
