#pragma once

#include "wizard/Wizard.h"

// The wizard with its pages in their fixed order (welcome, bride and groom, time and
// place, entertainer, party, schedule, music, the two song lists, finish) and the song
// catalogue behind the song-pick contract.
class ZelWizard : public Wizard
{
  public:
    ZelWizard();
    ~ZelWizard() override;

    void preloadSongCatalogue() override;

  protected:
    std::unique_ptr<WizardPage> makePage(int index) override;
};
