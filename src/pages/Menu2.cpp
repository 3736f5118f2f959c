#include "Menu2.h"

Menu2::Menu2(Wizard& wizard)
    : WizardPage(wizard, 1,
                 {QStringLiteral("Menu2"), QStringLiteral("Bride and Groom"), 1,
                  QStringLiteral("Name and Contact Info"),
                  QStringLiteral("Please provide accurate and complete information."),
                  true})
{
}
