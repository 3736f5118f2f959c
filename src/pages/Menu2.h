#pragma once

#include "wizard/WizardPage.h"

// The bride and groom page: the personal and contact details of both.
class Menu2 : public WizardPage {
    Q_OBJECT
public:
    explicit Menu2(Wizard& wizard);
};
