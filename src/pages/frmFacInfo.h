#pragma once

#include "wizard/PageDialog.h"

#include <memory>

struct FacilityRecord;
namespace Ui
{
class frmFacInfo;
}

// The place of the reception: name, address, contact person with number and its kind,
// and driving directions. Save (available only while the name is not empty) answers 1,
// Cancel and Escape answer 0; both hide the dialog. The close box answers 0 and discards it.
class frmFacInfo : public PageDialog
{
    Q_OBJECT
  public:
    frmFacInfo(WizardState& state, QWidget* owner);
    ~frmFacInfo() override;

    // Overwrites the six boxes with the facility's values.
    void fill(const FacilityRecord& facility);
    // Copies the six boxes into the facility, in the same order.
    void readInto(FacilityRecord& facility) const;

  private:
    std::unique_ptr<Ui::frmFacInfo> m_ui;
};
