#include "Menu4.h"

Menu4::Menu4(Wizard& wizard)
    : WizardPage(wizard, 3,
                 {QStringLiteral("Menu4"), QStringLiteral("Your EmCee"), 3,
                  QStringLiteral("EmCee Guidelines"),
                  QStringLiteral("Select the appearance and behavior expectations of your entertainer(s)."),
                  true})
{
}
