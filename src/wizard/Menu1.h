#pragma once

#include "wizard/WizardPage.h"

#include <memory>

class Hivelet;
class RichTextViewer;

// The welcome page: the start-up form. It stays loaded and hidden for the whole run and
// carries the registry settings control.
class Menu1 : public WizardPage
{
    Q_OBJECT
  public:
    explicit Menu1(Wizard& wizard);
    ~Menu1() override;

    // The quit question (Wizard::CheckExit), reached through the welcome page as ever.
    void CheckExit();

    // Starts the external database module and ends the program; when it cannot be started
    // the user is told and the program ends as well. No control of the wizard offers it.
    void startDatabaseModule();

    // The registry settings control the welcome page carries.
    Hivelet& hivelet();

  protected:
    void loadPage() override;
    bool savePage() override;

  private:
    RichTextViewer* m_welcome = nullptr;
    std::unique_ptr<Hivelet> m_hivelet;
};
