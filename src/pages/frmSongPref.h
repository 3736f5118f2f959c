#pragma once

#include "wizard/PageDialog.h"

#include <memory>

class QLabel;
class QRadioButton;
namespace Ui
{
class frmSongPref;
}

// The music preferences dialog: ten rows (Frame1 0..9), each with a type name (lblField)
// and a Play / Avoid pair (Option1 .. Option10, elements 0 and 1) that exclude each other
// within the row only. Rows with an even index are shaded. The opener writes the captions
// and selections before every opening and reads the selections after Save.
//
// Save sets QueryAnswer to 1, Cancel and Escape set 0; both hide the dialog. Its close box
// sets 0 and discards it.
class frmSongPref : public PageDialog
{
    Q_OBJECT
  public:
    static constexpr int kTypeCount = 10;

    frmSongPref(WizardState& state, QWidget* owner);
    ~frmSongPref() override;

    // Row `row` (0..9): its name label and its option elements (0 "Play", 1 "Avoid").
    QLabel* lblField(int row) const;
    QRadioButton* option(int row, int element) const;

  private:
    std::unique_ptr<Ui::frmSongPref> m_ui;
};
