#pragma once

#include "store/EventPlan.h"
#include "wizard/WizardPage.h"

#include <optional>

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

    // "Send to Your Entertainer...": a consistent copy of the event file under the event's
    // readable name in a folder the couple picks, the plan as PDF beside it if they wish;
    // then the folder is shown.
    void sendPlan();

  protected:
    void loadPage() override;
    void goNext() override;
    void reopenReview() override { reviewPlan(); }

  private:
    // The whole event as the plan reads it; none, with the couple told why, when it cannot be read.
    std::optional<EventPlan> readPlan();
};
