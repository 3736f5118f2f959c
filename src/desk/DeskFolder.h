#pragma once

#include "catalogue/FinalChanges.h"
#include "store/EventPlan.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One event of the desk's folder: its current file with what a row shows.
struct DeskEvent {
    QString file;     // the current version
    QString previous; // the version filed before it; empty when there is none
    QString key;      // the same for every version of the event
    EventPlan plan;
    int problems = 0;
    int advice = 0;
    QDateTime received;
    bool opened = false;            // opened at the desk before
    bool changed = false;           // never opened, or a copy received since it was last opened
    bool late = false;              // received on or after the day the plan became final
    std::optional<qint64> daysToGo; // none without a date; negative once past
    bool isPast() const { return daysToGo && *daysToGo < 0; }
    bool isUpcoming() const { return daysToGo && *daysToGo >= 0; }
};

// The entertainer's folder of events: every event file in it (*.feteplan, *.mdb; not the
// catalogue), the versions filed under "Previous versions", and the desk's memory of them
// (DeskMemory). Files are only read here, except that add() files new copies.
class DeskFolder
{
  public:
    static const QString kPreviousFolder; // "Previous versions"

    // `catalogue` may be empty: then no final-changes day is known.
    DeskFolder(const QString& folder, const QString& catalogue);

    // "Feteplan Events" under the user's documents.
    static QString defaultFolder();
    // songlist.mdb in `folder` when there is one; empty otherwise.
    static QString defaultCatalogue(const QString& folder);

    QString folder() const { return m_folder; }
    QString catalogue() const { return m_catalogue; }

    // Reads every event file: upcoming events first (soonest first), then those without a
    // date, then past ones (latest first). Files that are no readable event files are left
    // out and named in unreadable().
    void scan(const QDate& today);
    const QList<DeskEvent>& events() const { return m_events; }
    const QStringList& unreadable() const { return m_unreadable; }

    // Takes a file from a couple: copies it into the folder (the couple's file is only read)
    // under its readable name; a newer copy of an event already here becomes its current
    // version and the one it replaces moves to "Previous versions". `message` says what was
    // done, or why nothing was.
    enum Outcome { Added, NewVersion, AlreadyHere, Refused };
    Outcome add(const QString& source, QString* message);

    // Notes that the event was opened now: its changed mark goes (also from events()).
    bool markOpened(const QString& key, QString* error);

    // One calendar of every upcoming event of the last scan.
    QByteArray upcomingCalendar(const QDateTime& stamp) const;

  private:
    QList<QString> eventFileNames() const;

    QString m_folder;
    QString m_catalogue;
    QList<DeskEvent> m_events;
    QStringList m_unreadable;
};
