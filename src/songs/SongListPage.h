#pragma once

#include "wizard/WizardPage.h"

// The two song list pages: songs to include (Menu8) and songs not to play (Menu9).
// One class serves both; the kind decides the page's texts and its table.
class SongListPage : public WizardPage
{
    Q_OBJECT
  public:
    enum Kind { Include, Exclude };
    SongListPage(Wizard& wizard, Kind kind);

    Kind kind() const { return m_kind; }

  private:
    static PageInfo infoFor(Kind kind);
    Kind m_kind;
};
