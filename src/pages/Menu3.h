#pragma once

#include "wizard/WizardPage.h"

// The time and place page: date, times, facility and guests.
class Menu3 : public WizardPage {
    Q_OBJECT
public:
    explicit Menu3(Wizard& wizard);
};
