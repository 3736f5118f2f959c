#include "Menu6.h"

Menu6::Menu6(Wizard& wizard)
    : WizardPage(wizard, 5,
                 {QStringLiteral("Menu6"), QStringLiteral("Event Schedule"), 5,
                  QStringLiteral("Order of Events"),
                  QStringLiteral("Customize your event with your own schedule of activities."),
                  true})
{
}
