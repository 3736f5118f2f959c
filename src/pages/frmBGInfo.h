#pragma once

#include "store/PersonRecord.h"
#include "wizard/PageDialog.h"

#include <memory>
#include <optional>

namespace Ui
{
class frmBGInfo;
}

// The personal and contact details of one person of the couple. The bride and groom page
// shares this one dialog between both persons: it overwrites every box before each
// opening, so nothing of one person stays behind for the other.
//
// Save (available only while the name is not empty) hands the edited person back; Cancel,
// Escape and the close box hand back nothing. Save and Cancel hide the dialog, the close
// box discards it.
class frmBGInfo : public PageDialog
{
    Q_OBJECT
  public:
    frmBGInfo(WizardState& state, QWidget* owner);
    ~frmBGInfo() override;

    // Shows the dialog under `caption` with all eleven boxes overwritten by the person's
    // values, modally; after Save returns the person with the eleven boxes read back (the
    // other fields as given), otherwise nothing.
    std::optional<PersonRecord> edit(const QString& caption, const PersonRecord& person);

  private:
    void fill(const PersonRecord& person);
    void readInto(PersonRecord& person) const;

    std::unique_ptr<Ui::frmBGInfo> m_ui;
};
