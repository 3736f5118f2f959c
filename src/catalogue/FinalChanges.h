#pragma once

#include <QDate>
#include <QString>

#include <optional>

class KeyedItemStore;

// The entertainer named in the catalogue's Config settings, and the day from which the plan
// is final: EntName, EntPhone, EntEmail, and FinalDays, the number of days before the event
// from which the couple calls instead of changing the plan. Without these settings there is
// nobody to name and the plan is never final.
struct FinalChanges {
    QString Name;
    QString Phone;
    QString Email;
    std::optional<int> Days; // 0..3650; absent when unset or not a number

    static FinalChanges read(KeyedItemStore& items);

    // "Your entertainer: Dana Cole, phone 555-0100, e-mail dana@example.org"; empty when the
    // settings name nobody.
    QString reachLine() const;
    // The first day the plan is final for an event on `eventDate`; none without a date or
    // without FinalDays.
    std::optional<QDate> finalFrom(const QDate& eventDate) const;
    // The line every page shows once the plan is final on `today`; empty before.
    QString frozenLine(const QDate& eventDate, const QDate& today) const;
};
