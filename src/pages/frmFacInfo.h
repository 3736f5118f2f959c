#pragma once

#include "store/FacilityRecord.h"
#include "wizard/PageDialog.h"

#include <memory>
#include <optional>

namespace Ui
{
class frmFacInfo;
}

// The place of the reception: name, address, contact person with number and its kind,
// and driving directions. Save (available only while the name is not empty) hands the
// edited facility back; Cancel, Escape and the close box hand back nothing. Save and Cancel
// hide the dialog, the close box discards it.
class frmFacInfo : public PageDialog
{
    Q_OBJECT
  public:
    frmFacInfo(WizardState& state, QWidget* owner);
    ~frmFacInfo() override;

    // Shows the dialog under `caption` with the six boxes overwritten by the facility's
    // values, modally; after Save returns the six boxes as a facility, otherwise nothing.
    std::optional<FacilityRecord> edit(const QString& caption, const FacilityRecord& facility);

  private:
    void fill(const FacilityRecord& facility);
    void readInto(FacilityRecord& facility) const;

    std::unique_ptr<Ui::frmFacInfo> m_ui;
};
