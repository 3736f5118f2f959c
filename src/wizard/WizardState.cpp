#include "WizardState.h"

void WizardState::initialise()
{
    ProgressCaptions = {QStringLiteral("Progress:"),    QStringLiteral("Bride && Groom"),
                        QStringLiteral("Your Event"),   QStringLiteral("Your EmCee"),
                        QStringLiteral("Bridal Party"), QStringLiteral("Event Schedule"),
                        QStringLiteral("Music"),        QStringLiteral(" Include"),
                        QStringLiteral(" Exclude")};
    while (ProgressCaptions.size() < 15)
        ProgressCaptions.append(QString());
    CurrentStep = 1;
}
