#include "Menu5.h"

Menu5::Menu5(Wizard& wizard)
    : WizardPage(wizard, 4,
                 {QStringLiteral("Menu5"), QStringLiteral("Bridal Party"), 4,
                  QStringLiteral("Members of the Bridal Party"),
                  QStringLiteral("Please list all of the attendants and special family members for the Bride and Groom."),
                  true})
{
}
