#include "Menu3.h"

Menu3::Menu3(Wizard& wizard)
    : WizardPage(wizard, 2,
                 {QStringLiteral("Menu3"), QStringLiteral("Event Information"), 2,
                  QStringLiteral("Time and Place"),
                  QStringLiteral("Please indicate the time and location of your event."),
                  true})
{
}
