#pragma once

#include <QString>

// The place of the reception as the facility dialog edits it.
struct FacilityRecord {
    QString Name;
    QString Address; // several lines, CR LF between them
    QString Contact;
    QString Number;
    QString NumberKind; // "office" unless the couple says otherwise
    QString Directions; // several lines, CR LF between them

    bool operator==(const FacilityRecord&) const = default;
};
