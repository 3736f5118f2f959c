#pragma once

#include "store/NameVoice.h"

#include <QString>

// One person of the couple as the bride and groom page keeps it for the whole run: filled
// from the keyed items when the page loads, changed through the person dialog, written
// back on the page's Next.
struct PersonRecord {
    // The person counts as entered: set on load from the stored name (not empty) and by a
    // Save in the dialog. Never stored.
    bool Complete = false;
    QString Name;
    QString Age;
    QString Pronunciation;
    QString Address; // several lines, CR LF between them
    QString Phone1;
    QString Phone2;
    QString Phone3;
    QString PhoneKind1; // "work", "home", "other" unless the couple says otherwise
    QString PhoneKind2;
    QString PhoneKind3;
    QString Email;
    // How the name is said: the speech engine's language and the couple's own recording.
    NameVoice Voice{};

    bool operator==(const PersonRecord&) const = default;
};
