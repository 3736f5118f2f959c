#include "Menu7.h"

Menu7::Menu7(Wizard& wizard)
    : WizardPage(wizard, 6,
                 {QStringLiteral("Menu7"), QStringLiteral("Music"), 6,
                  QStringLiteral("Music for your Reception"),
                  QStringLiteral("Please indicate music preferences for you and your guests."),
                  true})
{
}
