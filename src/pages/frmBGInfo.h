#pragma once

#include "wizard/PageDialog.h"

#include <memory>

struct PersonRecord;
namespace Ui
{
class frmBGInfo;
}

// The personal and contact details of one person of the couple. The bride and groom page
// shares this one dialog between both persons: it overwrites every box before each
// opening, so nothing of one person stays behind for the other.
//
// Save (available only while the name is not empty) answers 1, Cancel and Escape answer
// 0; both hide the dialog. The close box answers 0 and discards it.
class frmBGInfo : public PageDialog
{
    Q_OBJECT
  public:
    frmBGInfo(WizardState& state, QWidget* owner);
    ~frmBGInfo() override;

    // Overwrites all eleven boxes with the person's values.
    void fill(const PersonRecord& person);
    // Copies all eleven boxes into the person, in the same order.
    void readInto(PersonRecord& person) const;

  private:
    std::unique_ptr<Ui::frmBGInfo> m_ui;
};
