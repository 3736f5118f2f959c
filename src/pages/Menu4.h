#pragma once

#include "wizard/WizardPage.h"

// The entertainer guidelines page: dress, manner and comments.
class Menu4 : public WizardPage {
    Q_OBJECT
public:
    explicit Menu4(Wizard& wizard);
};
