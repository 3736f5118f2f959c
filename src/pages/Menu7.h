#pragma once

#include "wizard/WizardPage.h"

// The music preferences page: types to play and to avoid, radio stations.
class Menu7 : public WizardPage {
    Q_OBJECT
public:
    explicit Menu7(Wizard& wizard);
};
