#include "PlanDiff.h"

#include "plan/PlanChecks.h"
#include "plan/PlanFacts.h"
#include "plan/PlanSongIndex.h"

#include <algorithm>
#include <span>

namespace
{
using PlanFacts::answerText;
using PlanFacts::isolated;

// Pages of the wizard, as PlanChecks names them.
enum Page { BrideGroom = 1, Event = 2, EmCee = 3, Party = 4, Schedule = 5, Music = 6 };

// A stored text as a sentence quotes it: one line, no surrounding blanks. Every text of the
// couple's that a sentence holds is set apart by direction (PlanFacts::isolated), so a name
// in a right-to-left script keeps the words around it in their order.
QString flat(const QString& stored)
{
    return PlanFacts::lines(stored).replace(QLatin1Char('\n'), QStringLiteral(", "));
}

QString quoted(const QString& text)
{
    return QStringLiteral("\"%1\"").arg(text);
}

// "555 1234 (home)": a number with its kind, empty without a number.
QString phoneLine(const QString& number, const QString& kind)
{
    if (number.trimmed().isEmpty())
        return QString();
    return kind.trimmed().isEmpty() ? number.trimmed()
                                    : QStringLiteral("%1 (%2)").arg(number.trimmed(), kind.trimmed());
}

// "Perfect" by Ed Sheeran, its title and artist isolated.
QString songLabel(const QString& title, const QString& artist)
{
    return PlanFacts::songLabel(isolated(title.trimmed()), isolated(artist.trimmed()));
}

// The song of an activity; empty for none.
QString activitySong(const QString& title, const QString& artist)
{
    return title.trimmed().isEmpty() && artist.trimmed().isEmpty() ? QString()
                                                                   : songLabel(title, artist);
}

// One changed detail of a named thing, with {P} for its possessive ("Erin Fox's", "its").
// Empty when the two texts are the same. A text of the couple's (`given`) is isolated and
// put in quotation marks; any other is written as it is.
QString detailChange(const QString& noun, const QString& before, const QString& after,
                     bool given = true)
{
    if (before == after)
        return QString();
    const QString a = given ? quoted(isolated(before)) : before;
    const QString b = given ? quoted(isolated(after)) : after;
    if (before.isEmpty())
        return QStringLiteral("{P} %1 added: %2").arg(noun, b);
    if (after.isEmpty())
        return QStringLiteral("{P} %1 removed (was %2)").arg(noun, a);
    return QStringLiteral("{P} %1 changed from %2 to %3").arg(noun, a, b);
}

// The details of one thing as one sentence: the first names the thing, the others say "its".
QString sentence(const QString& subject, const QStringList& details)
{
    QStringList parts;
    for (const QString& d : details) {
        if (d.isEmpty())
            continue;
        const bool first = parts.isEmpty();
        parts << QString(d)
                     .replace(QStringLiteral("{P}"), first ? subject + QStringLiteral("'s")
                                                           : QStringLiteral("its"))
                     .replace(QStringLiteral("{N}"), first ? subject : QStringLiteral("it"));
    }
    return parts.join(QStringLiteral("; "));
}

// A choice among named options as the plan prints it.
QString choiceText(const PlanValue<qint16>& choice, std::span<const QString> names)
{
    if (choice.state == PlanValue<qint16>::NotGiven)
        return PlanFacts::kNotChosen;
    if (choice.state == PlanValue<qint16>::Unreadable || choice.value < 0 ||
        choice.value >= qint16(names.size()))
        return PlanFacts::kUnreadable;
    return names[choice.value];
}

QString folded(const QString& name)
{
    return name.trimmed().toCaseFolded();
}

QString activityName(const ScheduledActivity& a)
{
    return a.Name.trimmed().isEmpty() ? QStringLiteral("An activity without a name")
                                      : isolated(a.Name.trimmed());
}

// The number of guests as the couple typed it, or why there is none.
QString guestsText(const PlanValue<QString>& guests)
{
    const QString text = answerText(guests);
    return guests.isGiven() && !guests.value.trimmed().isEmpty() ? isolated(text) : text;
}
} // namespace

PlanDiff::PlanDiff(const EventPlan& before, const EventPlan& after)
{
    comparePeople(before, after);
    compareEvent(before, after);
    compareGuidelines(before, after);
    compareParty(before.Party, after.Party);
    compareSchedule(before.Schedule, after.Schedule);
    compareMusic(before.Music, after.Music);
    compareSongs(7, QStringLiteral("the must-play list"), before.Include, after.Include);
    compareSongs(8, QStringLiteral("the do-not-play list"), before.Exclude, after.Exclude);
}

void PlanDiff::add(int page, const QString& text)
{
    if (!text.isEmpty())
        m_changes.append({page, text});
}

void PlanDiff::comparePeople(const EventPlan& before, const EventPlan& after)
{
    const auto person = [this](const QString& who, const PersonRecord& a, const PersonRecord& b) {
        const auto field = [&](const QString& noun, const QString& x, const QString& y) {
            add(BrideGroom, sentence(who, {detailChange(noun, flat(x), flat(y))}));
        };
        field(QStringLiteral("name"), a.Name, b.Name);
        field(QStringLiteral("age"), a.Age, b.Age);
        field(QStringLiteral("pronunciation"), a.Pronunciation, b.Pronunciation);
        field(QStringLiteral("address"), a.Address, b.Address);
        field(QStringLiteral("first phone"), phoneLine(a.Phone1, a.PhoneKind1),
              phoneLine(b.Phone1, b.PhoneKind1));
        field(QStringLiteral("second phone"), phoneLine(a.Phone2, a.PhoneKind2),
              phoneLine(b.Phone2, b.PhoneKind2));
        field(QStringLiteral("third phone"), phoneLine(a.Phone3, a.PhoneKind3),
              phoneLine(b.Phone3, b.PhoneKind3));
        field(QStringLiteral("e-mail"), a.Email, b.Email);
    };
    person(QStringLiteral("The bride"), before.Bride, after.Bride);
    person(QStringLiteral("The groom"), before.Groom, after.Groom);
}

void PlanDiff::compareEvent(const EventPlan& before, const EventPlan& after)
{
    const auto answer = [this](const QString& noun, const QString& verb, const QString& a,
                               const QString& b) {
        if (a != b)
            add(Event, QStringLiteral("The %1 %2 from %3 to %4").arg(noun, verb, a, b));
    };
    const PlanTimes& x = before.Times;
    const PlanTimes& y = after.Times;
    answer(QStringLiteral("date"), QStringLiteral("changed"), answerText(x.Date),
           answerText(y.Date));
    answer(QStringLiteral("start time"), QStringLiteral("moved"), answerText(x.Start),
           answerText(y.Start));
    answer(QStringLiteral("end time"), QStringLiteral("moved"), answerText(x.End), answerText(y.End));
    answer(QStringLiteral("setup time"), QStringLiteral("moved"), answerText(x.Setup),
           answerText(y.Setup));
    answer(QStringLiteral("number of guests"), QStringLiteral("changed"),
           guestsText(before.Guests), guestsText(after.Guests));

    const FacilityRecord& f = before.Facility;
    const FacilityRecord& g = after.Facility;
    const auto field = [&](const QString& noun, const QString& a, const QString& b) {
        add(Event, sentence(QStringLiteral("The reception"), {detailChange(noun, flat(a), flat(b))}));
    };
    field(QStringLiteral("place"), f.Name, g.Name);
    field(QStringLiteral("address"), f.Address, g.Address);
    field(QStringLiteral("contact"), f.Contact, g.Contact);
    field(QStringLiteral("phone"), phoneLine(f.Number, f.NumberKind),
          phoneLine(g.Number, g.NumberKind));
    field(QStringLiteral("directions"), f.Directions, g.Directions);
}

void PlanDiff::compareGuidelines(const EventPlan& before, const EventPlan& after)
{
    const auto choice = [this](const QString& noun, const QString& a, const QString& b) {
        if (a != b)
            add(EmCee, QStringLiteral("The entertainer's %1 changed from %2 to %3").arg(noun, a, b));
    };
    choice(QStringLiteral("dress"), choiceText(before.Looks, Guidelines::kLooks),
           choiceText(after.Looks, Guidelines::kLooks));
    choice(QStringLiteral("manner"), choiceText(before.Attitude, Guidelines::kAttitude),
           choiceText(after.Attitude, Guidelines::kAttitude));
    add(EmCee, sentence(QStringLiteral("The entertainer"),
                        {detailChange(QStringLiteral("comments"), flat(before.GuidanceNotes),
                                      flat(after.GuidanceNotes))}));
}

void PlanDiff::compareParty(const QList<PartyMember>& before, const QList<PartyMember>& after)
{
    QList<bool> matched(before.size(), false);
    for (const PartyMember& m : after) {
        qsizetype at = -1;
        for (qsizetype i = 0; i < before.size() && at < 0; ++i)
            if (!matched[i] && folded(before[i].Name) == folded(m.Name))
                at = i;
        const QString name = isolated(m.Name.trimmed());
        if (at < 0) {
            QString text = QStringLiteral("%1 added to the bridal party").arg(name);
            if (!m.Role.trimmed().isEmpty())
                text += QStringLiteral(" as %1").arg(isolated(m.Role.trimmed()));
            if (!m.Escort.trimmed().isEmpty())
                text += m.EscortRole.trimmed().isEmpty()
                            ? QStringLiteral(", escorted by %1").arg(isolated(m.Escort.trimmed()))
                            : QStringLiteral(", escorted by %1 (%2)")
                                  .arg(isolated(m.Escort.trimmed()),
                                       isolated(m.EscortRole.trimmed()));
            add(Party, text);
            continue;
        }
        matched[at] = true;
        const PartyMember& o = before[at];
        add(Party,
            sentence(name, {detailChange(QStringLiteral("role"), o.Role.trimmed(), m.Role.trimmed()),
                            detailChange(QStringLiteral("escort"), o.Escort.trimmed(),
                                         m.Escort.trimmed()),
                            detailChange(QStringLiteral("escort's role"), o.EscortRole.trimmed(),
                                         m.EscortRole.trimmed()),
                            detailChange(QStringLiteral("pronunciation"),
                                         o.Pronunciation.trimmed(), m.Pronunciation.trimmed()),
                            detailChange(QStringLiteral("escort's pronunciation"),
                                         o.EscortPronunciation.trimmed(),
                                         m.EscortPronunciation.trimmed())}));
    }
    for (qsizetype i = 0; i < before.size(); ++i)
        if (!matched[i])
            add(Party, QStringLiteral("%1 removed from the bridal party")
                           .arg(isolated(before[i].Name.trimmed())));
}

void PlanDiff::compareSchedule(const QList<ScheduledActivity>& before,
                               const QList<ScheduledActivity>& after)
{
    // Each activity of the new version finds its old self by key, else by name.
    QList<qsizetype> partner(after.size(), -1);
    QList<bool> taken(before.size(), false);
    for (qsizetype j = 0; j < after.size(); ++j)
        for (qsizetype i = 0; i < before.size() && partner[j] < 0; ++i)
            if (!taken[i] && before[i].Key == after[j].Key) {
                partner[j] = i;
                taken[i] = true;
            }
    for (qsizetype j = 0; j < after.size(); ++j)
        for (qsizetype i = 0; i < before.size() && partner[j] < 0; ++i)
            if (!taken[i] && folded(before[i].Name) == folded(after[j].Name)) {
                partner[j] = i;
                taken[i] = true;
            }

    for (qsizetype j = 0; j < after.size(); ++j) {
        const ScheduledActivity& a = after[j];
        const QString song = activitySong(a.SongTitle, a.SongArtist);
        if (partner[j] < 0) {
            QString text = QStringLiteral("%1 added to the schedule").arg(activityName(a));
            if (a.Time.isGiven())
                text += QStringLiteral(" at %1").arg(PlanFacts::timeText(a.Time.value));
            if (!song.isEmpty())
                text += QStringLiteral(" with %1").arg(song);
            add(Schedule, text);
            continue;
        }
        const ScheduledActivity& o = before[partner[j]];
        QStringList details;
        if (o.Name.trimmed() != a.Name.trimmed())
            details << QStringLiteral("{N} renamed to %1").arg(activityName(a));
        if (o.Time != a.Time)
            details << QStringLiteral("{N} moved from %1 to %2")
                           .arg(answerText(o.Time), answerText(a.Time));
        details << detailChange(QStringLiteral("song"), activitySong(o.SongTitle, o.SongArtist),
                                song, false)
                << detailChange(QStringLiteral("people"), flat(o.Who), flat(a.Who))
                << detailChange(QStringLiteral("notes"), flat(o.MoreInfo), flat(a.MoreInfo));
        add(Schedule, sentence(activityName(o), details));
    }
    for (qsizetype i = 0; i < before.size(); ++i)
        if (!taken[i])
            add(Schedule, QStringLiteral("%1 removed from the schedule").arg(activityName(before[i])));
}

void PlanDiff::compareMusic(const MusicPreferences& before, const MusicPreferences& after)
{
    const auto playText = [](bool play) {
        return play ? QStringLiteral("play") : QStringLiteral("avoid");
    };
    for (int i = 0; i < MusicPreferences::kTypeCount; ++i)
        if (before.Play[i] != after.Play[i])
            add(Music, QStringLiteral("%1 changed from %2 to %3")
                           .arg(MusicPreferences::kTypeNames[i], playText(before.Play[i]),
                                playText(after.Play[i])));
    static const char* const ordinals[] = {"first", "second", "third"};
    for (size_t i = 0; i < before.Radio.size(); ++i)
        add(Music, sentence(QStringLiteral("The %1 radio station").arg(QLatin1String(ordinals[i])),
                            {detailChange(QStringLiteral("name"), flat(before.Radio[i]),
                                          flat(after.Radio[i]))}));
}

void PlanDiff::compareSongs(int page, const QString& list, const QList<PlanSong>& before,
                            const QList<PlanSong>& after)
{
    PlanSongIndex earlier(before);
    QStringList added;
    QStringList kept; // what changed of a song on both versions of the list
    for (const PlanSong& s : after) {
        const qsizetype at = earlier.take(s);
        if (at < 0) {
            added << songLabel(s.Title, s.Artist);
            continue;
        }
        const PlanSong& was = before[at];
        const QString label = songLabel(s.Title, s.Artist);
        const QString length =
            detailChange(QStringLiteral("length"), PlanFacts::lengthText(was.Length),
                         PlanFacts::lengthText(s.Length), false);
        QStringList details;
        if (!length.isEmpty())
            details << QString(length).replace(
                QStringLiteral("{P} length"),
                QStringLiteral("The length of %1 on %2").arg(label, list));
        if (was.musicProvided() != s.musicProvided()) {
            const QString provided = s.musicProvided()
                                         ? QStringLiteral("is now music provided")
                                         : QStringLiteral("is no longer music provided");
            details << (details.isEmpty() ? QStringLiteral("%1 on %2 %3").arg(label, list, provided)
                                          : QStringLiteral("it %1").arg(provided));
        }
        if (!details.isEmpty())
            kept << details.join(QStringLiteral("; "));
    }
    QStringList removed;
    for (qsizetype i = 0; i < before.size(); ++i)
        if (!earlier.taken(i))
            removed << songLabel(before[i].Title, before[i].Artist);
    const auto count = [](qsizetype n) {
        return n == 1 ? QStringLiteral("1 song") : QStringLiteral("%1 songs").arg(n);
    };
    if (!added.isEmpty())
        add(page, QStringLiteral("%1 added to %2: %3")
                      .arg(count(added.size()), list, added.join(QStringLiteral(", "))));
    if (!removed.isEmpty())
        add(page, QStringLiteral("%1 removed from %2: %3")
                      .arg(count(removed.size()), list, removed.join(QStringLiteral(", "))));
    for (const QString& text : kept)
        add(page, text);
}

QString PlanDiff::text() const
{
    if (m_changes.isEmpty())
        return QStringLiteral("No changes.\n");
    QString out;
    int page = -1;
    for (const Change& c : m_changes) {
        if (c.page != page) {
            page = c.page;
            out += PlanChecks::pageName(page) + QLatin1Char('\n');
        }
        out += QStringLiteral("  %1\n").arg(c.text);
    }
    return out;
}

QString PlanDiff::html() const
{
    return PlanFacts::bdiMarkup(richText());
}

QString PlanDiff::richText() const
{
    QString out = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n"
                                 "<meta charset=\"utf-8\" />\n<title>What Changed</title>\n"
                                 "<style>body{font-family:sans-serif;max-width:50em;margin:2em "
                                 "auto;}h2{font-size:1.1em;margin-bottom:.3em;}</style>\n"
                                 "</head>\n<body>\n<h1>What Changed</h1>\n");
    if (m_changes.isEmpty())
        out += QStringLiteral("<p>No changes.</p>\n");
    int page = -1;
    for (const Change& c : m_changes) {
        if (c.page != page) {
            if (page >= 0)
                out += QStringLiteral("</ul>\n");
            page = c.page;
            out += QStringLiteral("<h2>%1</h2>\n<ul>\n")
                       .arg(PlanChecks::pageName(page).toHtmlEscaped());
        }
        out += QStringLiteral("<li>%1</li>\n").arg(c.text.toHtmlEscaped());
    }
    if (page >= 0)
        out += QStringLiteral("</ul>\n");
    return out + QStringLiteral("</body>\n</html>\n");
}
