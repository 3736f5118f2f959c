#pragma once

#include "wizard/PageDialog.h"
#include "wizard/WizardPage.h"

#include <memory>

class frmFacInfo;
class QDateTimeEdit;
namespace Ui
{
class Menu3;
}

// The time and place page: the date of the event, its start and end times, the time the
// room is ready for setup, the facility (edited in frmFacInfo) and the number of guests.
// A new start time moves the end to four hours later and the setup to two hours earlier.
class Menu3 : public WizardPage
{
    Q_OBJECT
  public:
    explicit Menu3(Wizard& wizard);
    ~Menu3() override;

  protected:
    void loadPage() override;
    bool savePage() override;

  private:
    // Reads a stored date-time item; a missing or unreadable value gives `fallback`.
    void startTimeChanged();
    void editFacility();
    void showFacility();

    std::unique_ptr<Ui::Menu3> m_ui;
    DialogSlot<frmFacInfo> m_dialog;
};
