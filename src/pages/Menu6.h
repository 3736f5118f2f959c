#pragma once

#include "wizard/WizardPage.h"

// The event schedule page: the timed activities with their songs.
class Menu6 : public WizardPage {
    Q_OBJECT
public:
    explicit Menu6(Wizard& wizard);
};
