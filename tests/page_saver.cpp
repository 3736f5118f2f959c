// Saves a page of answers the way the wizard's Next does (one transaction around the page's
// items), so a test can kill it or starve it of disk space half way. Usage:
//   page_saver EVENT A|B loop   saves A and B by turns for ever ("ready" after the first)
//   page_saver EVENT A|B BYTES  saves once with files limited to BYTES, as on a full disk
//   page_saver EVENT - print    prints which page is stored: "A", "B" or "mixed"
//   page_saver EVENT - upgrade  opens an older file for writing, which upgrades it ("ready"
//                               first)
#include "store/EventItems.h"
#include "store/EventSnapshot.h"
#include "store/StoreSession.h"
#include "store/StoreTransaction.h"

#include <QCoreApplication>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

namespace
{
// The bride and groom page and the party page of one variant: every item differs between
// A and B, and B has more party members than A.
EventPlan variant(QChar v)
{
    EventPlan p;
    auto person = [v](const QString& who) {
        PersonRecord r;
        r.Complete = true;
        r.Name = QStringLiteral("%1 %2 name").arg(v).arg(who);
        r.Age = v == 'A' ? QStringLiteral("29") : QStringLiteral("31");
        r.Pronunciation = QStringLiteral("%1-%2").arg(v).arg(who);
        r.Address = QStringLiteral("%1 street\r\n%2 town").arg(v).arg(who);
        r.Phone1 = QStringLiteral("%1-111").arg(v);
        r.PhoneKind1 = QStringLiteral("%1 work").arg(v);
        r.PhoneKind2 = QStringLiteral("%1 home").arg(v);
        r.PhoneKind3 = QStringLiteral("%1 other").arg(v);
        r.Email = QStringLiteral("%1@%2.example").arg(who).arg(v);
        return r;
    };
    p.Bride = person(QStringLiteral("bride"));
    p.Groom = person(QStringLiteral("groom"));
    for (int i = 0; i < (v == 'A' ? 3 : 6); ++i)
        p.Party.append({QStringLiteral("%1 member %2").arg(v).arg(i), QStringLiteral("role"),
                        QStringLiteral("%1 escort %2").arg(v).arg(i), QStringLiteral("usher"),
                        QStringLiteral("say %1").arg(v), QStringLiteral("say %1").arg(i)});
    return p;
}

bool save(StoreSession& store, const EventPlan& p)
{
    StoreTransaction t(store.eventConnection());
    QString failure;
    return t.isActive() &&
           EventItems::savePerson(store.items(), p.Bride, QLatin1Char('B'), &failure) &&
           EventItems::savePerson(store.items(), p.Groom, QLatin1Char('G'), &failure) &&
           EventItems::saveParty(store.items(), p.Party, &failure) && t.commit();
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const QString file = QString::fromLocal8Bit(argv[1]);
    const QChar first = QLatin1Char(argv[2][0]);
    const QByteArray mode = argv[3];
    const bool loop = mode == "loop";
    if (mode == "print") {
        // Read as the plan tool reads an event: the whole event in one snapshot.
        QString error;
        const std::optional<EventPlan> stored = EventSnapshot::read(file, &error);
        if (!stored)
            return 3;
        for (QChar v : {QLatin1Char('A'), QLatin1Char('B')}) {
            const EventPlan p = variant(v);
            if (stored->Bride == p.Bride && stored->Groom == p.Groom && stored->Party == p.Party) {
                std::printf("%c\n", v.toLatin1());
                return 0;
            }
        }
        std::puts("mixed");
        return 0;
    }
    if (mode == "upgrade") {
        std::puts("ready");
        std::fflush(stdout);
        return StoreSession(file, QString(), StoreSession::ReadWrite).isOpen() ? 0 : 3;
    }
    if (!loop) {
        // A write beyond the limit fails with "file too large" instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t bytes = QByteArray(argv[3]).toULongLong();
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    StoreSession store(file, QString(), StoreSession::ReadWrite);
    if (!store.isOpen())
        return 3;
    if (!loop)
        return save(store, variant(first)) ? 0 : 1;
    const EventPlan plans[2] = {variant(QLatin1Char('A')), variant(QLatin1Char('B'))};
    int n = first == 'A' ? 0 : 1;
    save(store, plans[n]);
    std::puts("ready");
    std::fflush(stdout);
    for (;;)
        save(store, plans[++n % 2]);
}
