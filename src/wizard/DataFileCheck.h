#pragma once

#include <QString>

struct WizardState;

// The start-up data-file check: makes the database folder and its data folder when they
// are missing (as an installer would), creates an empty event database when there is
// none, and requires the song catalogue. A condition the program cannot go on with is
// shown to the user and ends the program.
class DataFileCheck
{
  public:
    // Makes the database folder and its data folder when missing. Runs first, before the
    // data loader may copy into them. Returns false when the program was ended.
    static bool makeFolders(WizardState& state);
    // Creates the event database when missing and requires the catalogue. Returns false
    // when the program was ended.
    static bool run(WizardState& state);
};
