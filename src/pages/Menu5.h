#pragma once

#include "wizard/WizardPage.h"

// The bridal party page: the members with their roles and escorts.
class Menu5 : public WizardPage {
    Q_OBJECT
public:
    explicit Menu5(Wizard& wizard);
};
