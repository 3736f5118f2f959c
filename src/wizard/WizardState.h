#pragma once

#include "store/FacilityRecord.h"
#include "store/PersonRecord.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

// The program-wide values, owned by the application object and handed to every form by
// reference. Nothing of this lives in a static, so a test can build a fresh wizard. What a
// dialog produces is not kept here: each dialog hands its result back to its opener.
struct WizardState {
    QString DbFolder;    // folder of both databases
    QString MediaFolder; // pictures and rich texts
    QStringList ProgressCaptions;
    qint16 CurrentStep = 1;

    // The event's date and times as day-count values (date part and/or time of day); set by
    // the time and place page, read by the schedule page (StartTime is the time offered for
    // a new activity).
    double EventDate = 0;
    double StartTime = 0;
    double EndTime = 0;
    double SetupTime = 0;

    // The couple, filled and edited by the bride and groom page.
    PersonRecord Bride;
    PersonRecord Groom;
    // The place of the reception and the expected number of guests, filled by the time and
    // place page.
    FacilityRecord Facility;
    QString Guests;

    // The entertainer named in the catalogue's settings ("Your entertainer: ..."; empty when
    // none), and the line saying since when the plan is final and whom to call: set at
    // start when the plan is final, and then every answer page is read-only and Next stores
    // nothing.
    QString EntertainerLine;
    QString FrozenLine;

    // Fills the progress captions (15 entries) and sets CurrentStep to 1.
    void initialise();
};
