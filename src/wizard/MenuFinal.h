#pragma once

#include "wizard/WizardPage.h"

// The finish page: thanks the couple and ends the program after folding its window away.
class MenuFinal : public WizardPage
{
    Q_OBJECT
  public:
    explicit MenuFinal(Wizard& wizard);

    // The closing fold of the window (see FoldPlan).
    void ShrinkMe();

    // Starts the external utility module (the first of its two programs that exists) and
    // ends the program; when neither exists the user is told and the wizard goes on.
    void startUtilityModule();

    // "Review Your Plan...": the plan read from the event database with its checks; a
    // finding's button goes to the page that mends it.
    void reviewPlan();

  protected:
    void loadPage() override;
    void goNext() override;
    void reopenReview() override { reviewPlan(); }
};
