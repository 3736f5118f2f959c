#include "desk/DeskFolder.h"

#include "desk/DeskMemory.h"
#include "plan/PlanChecks.h"
#include "plan/PlanExport.h"
#include "plan/PlanFacts.h"
#include "plan/PlanFileName.h"
#include "store/EventCopy.h"
#include "store/EventIdentity.h"
#include "store/EventSnapshot.h"
#include "store/KeyedItemStore.h"
#include "store/SqlConnection.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

const QString DeskFolder::kPreviousFolder = QStringLiteral("Previous versions");

namespace
{
const QString kCatalogueName = QStringLiteral("songlist.mdb");

// The entertainer and the final-changes days named in the catalogue's settings.
FinalChanges finalChangesOf(const QString& catalogue)
{
    if (catalogue.isEmpty())
        return {};
    const SqlConnection connection(catalogue, SqlConnection::ReadOnly);
    if (!connection.isOpen())
        return {};
    // Only Config is read; the store's event tables are not in a catalogue and read nothing.
    KeyedItemStore items(&connection, connection);
    return FinalChanges::read(items);
}

QByteArray sha256Of(const QString& file)
{
    QFile in(file);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (in.open(QIODevice::ReadOnly))
        hash.addData(&in);
    return hash.result();
}

// `base` + `suffix` in `dir`, numbered " (2)", " (3)", ... when the name is taken.
QString freeName(const QDir& dir, const QString& base, const QString& suffix)
{
    QString name = base + suffix;
    for (int n = 2; QFileInfo::exists(dir.filePath(name)); ++n)
        name = QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(suffix);
    return name;
}

QString dayText(const QDate& date)
{
    return QLocale(QLocale::English, QLocale::UnitedStates)
        .toString(date, QStringLiteral("MMMM d, yyyy"));
}

QString eventName(const EventPlan& plan)
{
    QString couple = PlanFacts::coupleNames(plan);
    if (couple.isEmpty())
        couple = QStringLiteral("an event without names");
    return plan.Times.Date.isGiven()
               ? QStringLiteral("%1 (%2)").arg(couple, dayText(plan.Times.Date.value))
               : couple;
}

// Upcoming events soonest first, those without a date next, past ones latest first.
bool shownBefore(const DeskEvent& a, const DeskEvent& b)
{
    const auto group = [](const DeskEvent& e) { return e.isUpcoming() ? 0 : e.isPast() ? 2 : 1; };
    if (group(a) != group(b))
        return group(a) < group(b);
    if (a.daysToGo != b.daysToGo)
        return group(a) == 2 ? *a.daysToGo > *b.daysToGo : a.daysToGo < b.daysToGo;
    return PlanFacts::coupleNames(a.plan).localeAwareCompare(PlanFacts::coupleNames(b.plan)) < 0;
}
} // namespace

DeskFolder::DeskFolder(const QString& folder, const QString& catalogue)
    : m_folder(QFileInfo(folder).absoluteFilePath()),
      m_catalogue(catalogue.isEmpty() ? QString() : QFileInfo(catalogue).absoluteFilePath())
{
}

QString DeskFolder::defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(QStringLiteral("Feteplan Events"));
}

QString DeskFolder::defaultCatalogue(const QString& folder)
{
    const QString file = QDir(folder).filePath(kCatalogueName);
    return QFileInfo::exists(file) ? file : QString();
}

QList<QString> DeskFolder::eventFileNames() const
{
    QList<QString> names;
    const QDir dir(m_folder);
    for (const QFileInfo& info : dir.entryInfoList(
             {QStringLiteral("*.feteplan"), QStringLiteral("*.mdb")}, QDir::Files, QDir::Name))
        if (info.absoluteFilePath() != m_catalogue &&
            info.fileName().compare(kCatalogueName, Qt::CaseInsensitive) != 0)
            names.append(info.fileName());
    return names;
}

void DeskFolder::scan(const QDate& today)
{
    m_events.clear();
    m_unreadable.clear();
    const DeskMemory memory = DeskMemory::load(m_folder);
    const FinalChanges final = finalChangesOf(m_catalogue);
    const QDir dir(m_folder);

    // The latest filed version of each event.
    QMap<QString, std::pair<QDateTime, QString>> previous;
    for (auto it = memory.files.begin(); it != memory.files.end(); ++it)
        if (it.key().startsWith(kPreviousFolder + QLatin1Char('/')) &&
            (!previous.contains(it->event) || previous[it->event].first < it->received) &&
            QFileInfo::exists(dir.filePath(it.key())))
            previous[it->event] = {it->received, dir.filePath(it.key())};

    // The files are read and checked on every core: each read opens its own connection.
    const QList<QString> names = eventFileNames();
    struct Read {
        std::optional<EventPlan> plan;
        QString error;
        QList<PlanFinding> findings;
    };
    std::vector<Read> reads(names.size());
    std::atomic<qsizetype> next{0};
    const auto work = [&] {
        for (qsizetype i; (i = next++) < names.size();) {
            Read& r = reads[i];
            r.plan = EventSnapshot::read(dir.filePath(names[i]), &r.error);
            if (r.plan)
                r.findings = PlanChecks::run(*r.plan, today, PlanChecks::ForEntertainer);
        }
    };
    std::vector<std::thread> helpers;
    for (int n = 1; n < std::min<qsizetype>(QThread::idealThreadCount(), names.size() / 16 + 1);
         ++n)
        helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers)
        t.join();

    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        Read& r = reads[i];
        if (!r.plan) {
            m_unreadable.append(r.error);
            continue;
        }
        DeskEvent e;
        e.file = dir.filePath(name);
        const auto known = memory.files.constFind(name);
        e.key = known != memory.files.cend() ? known->event : QStringLiteral("file:") + name;
        e.received =
            known != memory.files.cend() ? known->received : QFileInfo(e.file).lastModified();
        e.previous = previous.value(e.key).second;
        e.problems = int(std::count_if(r.findings.begin(), r.findings.end(), [](const auto& f) {
            return f.severity == PlanFinding::Problem;
        }));
        e.advice = int(r.findings.size()) - e.problems;
        const QDateTime opened = memory.opened.value(e.key);
        e.opened = opened.isValid();
        e.changed = !e.opened || e.received > opened;
        if (r.plan->Times.Date.isGiven()) {
            e.daysToGo = today.daysTo(r.plan->Times.Date.value);
            const std::optional<QDate> from = final.finalFrom(r.plan->Times.Date.value);
            e.late = from && e.received.toLocalTime().date() >= *from;
        }
        e.plan = std::move(*r.plan);
        m_events.append(std::move(e));
    }
    std::stable_sort(m_events.begin(), m_events.end(), shownBefore);
}

DeskFolder::Outcome DeskFolder::add(const QString& source, QString* message)
{
    message->clear();
    const QString shown = QDir::toNativeSeparators(source);
    if (!QFileInfo(source).isFile()) {
        *message = QStringLiteral("%1: no such file").arg(shown);
        return Refused;
    }
    if (QFileInfo(source).absolutePath() == m_folder) {
        *message = QStringLiteral("%1 is in the desk's folder already.").arg(shown);
        return AlreadyHere;
    }
    QString error;
    const std::optional<EventPlan> plan = EventSnapshot::read(source, &error);
    const std::optional<EventIdentity> identity =
        plan ? EventIdentity::ofFile(source, &error) : std::nullopt;
    if (!identity) {
        *message = error;
        return Refused;
    }
    const QByteArray sourceSha = sha256Of(source);
    const QDir dir(m_folder);
    Outcome outcome = Refused;

    const bool written = DeskMemory::update(
        m_folder,
        [&](DeskMemory& memory) {
            // The very same file again: nothing to file.
            for (auto it = memory.files.begin(); it != memory.files.end(); ++it)
                if (it->sourceSha == sourceSha && QFileInfo::exists(dir.filePath(it.key()))) {
                    outcome = AlreadyHere;
                    *message = QStringLiteral("%1 is already on the desk: the same file was added "
                                              "on %2.")
                                   .arg(shown, dayText(it->received.toLocalTime().date()));
                    return false;
                }
            // The event's current file, when the event is here already.
            QString current;
            for (const QString& name : eventFileNames()) {
                DeskMemory::File known = memory.files.value(name);
                if (!memory.files.contains(name)) {
                    QString ignored;
                    const std::optional<EventIdentity> other =
                        EventIdentity::ofFile(dir.filePath(name), &ignored);
                    if (!other)
                        continue;
                    known = {QFileInfo(dir.filePath(name)).lastModified(),
                             QString(),
                             other->id,
                             other->bride,
                             other->groom,
                             {}};
                }
                if (EventIdentity{known.id, known.bride, known.groom}.sameEvent(*identity)) {
                    current = name;
                    if (known.event.isEmpty()) {
                        // A file copied in by hand gets a key; its opened time moves along.
                        const QString handKey = QStringLiteral("file:") + name;
                        known.event = QUuid::createUuid().toString(QUuid::WithoutBraces);
                        if (memory.opened.contains(handKey))
                            memory.opened.insert(known.event, memory.opened.take(handKey));
                    }
                    memory.files.insert(name, known);
                    break;
                }
            }
            const QString key = current.isEmpty()
                                    ? QUuid::createUuid().toString(QUuid::WithoutBraces)
                                    : memory.files.value(current).event;

            // The copy is made under a hidden name first, so that the event's current file moves
            // aside only once a whole copy is there to take its place.
            const QString incoming = dir.filePath(QStringLiteral(".incoming-%1.feteplan").arg(key));
            if (!EventCopy::save(source, incoming, &error)) {
                *message = error;
                return false;
            }
            QString filed;
            if (!current.isEmpty()) {
                const QFileInfo old(dir.filePath(current));
                const QDateTime received = memory.files.value(current).received.toLocalTime();
                if (!dir.mkpath(kPreviousFolder)) {
                    QFile::remove(incoming);
                    *message = QStringLiteral("The folder %1 cannot be made.")
                                   .arg(QDir::toNativeSeparators(dir.filePath(kPreviousFolder)));
                    return false;
                }
                filed = kPreviousFolder + QLatin1Char('/') +
                        freeName(QDir(dir.filePath(kPreviousFolder)),
                                 QStringLiteral("%1 (received %2)")
                                     .arg(old.completeBaseName(),
                                          received.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"))),
                                 QLatin1Char('.') + old.suffix());
                if (!QFile::rename(old.filePath(), dir.filePath(filed))) {
                    QFile::remove(incoming);
                    *message = QStringLiteral("%1 cannot be moved to %2.")
                                   .arg(QDir::toNativeSeparators(old.filePath()), kPreviousFolder);
                    return false;
                }
                memory.files.insert(filed, memory.files.take(current));
            }
            const QString target = freeName(
                dir,
                QFileInfo(PlanFileName::of(*plan, QStringLiteral("feteplan"))).completeBaseName(),
                QStringLiteral(".feteplan"));
            if (!QFile::rename(incoming, dir.filePath(target))) {
                QFile::remove(incoming);
                if (!filed.isEmpty()) {
                    QFile::rename(dir.filePath(filed), dir.filePath(current));
                    memory.files.insert(current, memory.files.take(filed));
                }
                *message = QStringLiteral("%1 cannot be written in %2.")
                               .arg(target, QDir::toNativeSeparators(m_folder));
                return false;
            }
            memory.files.insert(target, {QDateTime::currentDateTimeUtc(), key, identity->id,
                                         identity->bride, identity->groom, sourceSha});
            outcome = current.isEmpty() ? Added : NewVersion;
            *message = current.isEmpty()
                           ? QStringLiteral("Added %1.").arg(eventName(*plan))
                           : QStringLiteral("A newer copy of %1 is now its current version; the "
                                            "earlier one is kept in \"%2\".")
                                 .arg(eventName(*plan), kPreviousFolder);
            return true;
        },
        &error);
    if (written || outcome == AlreadyHere)
        return outcome;
    if (outcome != Refused || message->isEmpty())
        *message = error; // the lock could not be had, or the notes could not be written
    return Refused;
}

bool DeskFolder::markOpened(const QString& key, QString* error)
{
    if (!DeskMemory::update(
            m_folder,
            [&](DeskMemory& memory) {
                memory.opened.insert(key, QDateTime::currentDateTimeUtc());
                return true;
            },
            error))
        return false;
    for (DeskEvent& e : m_events)
        if (e.key == key)
            e.opened = true, e.changed = false;
    return true;
}

QByteArray DeskFolder::upcomingCalendar(const QDateTime& stamp) const
{
    QList<EventPlan> upcoming;
    for (const DeskEvent& e : m_events)
        if (e.isUpcoming())
            upcoming.append(e.plan);
    return PlanExport::ics(upcoming, stamp);
}
