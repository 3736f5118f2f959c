#pragma once

#include "wizard/PageDialog.h"

#include <QString>

#include <array>
#include <memory>
#include <optional>

class QLabel;
class QRadioButton;
namespace Ui
{
class frmSongPref;
}

// The music preferences dialog: ten rows (Frame1 0..9), each with a type name (lblField)
// and a Play / Avoid pair (Option1 .. Option10, elements 0 and 1) that exclude each other
// within the row only. Rows with an even index are shaded. Every opening is given the type
// names and the current choices; Save hands the chosen ones back, Cancel, Escape and the
// close box nothing. Save and Cancel hide the dialog, the close box discards it.
class frmSongPref : public PageDialog
{
    Q_OBJECT
  public:
    static constexpr int kTypeCount = 10;

    frmSongPref(WizardState& state, QWidget* owner);
    ~frmSongPref() override;

    using Choices = std::array<bool, kTypeCount>; // true = play, false = avoid

    // Shows the ten rows named `names` with `play` chosen, modally; after Save returns the
    // choices made, otherwise nothing.
    std::optional<Choices> choose(const std::array<QString, kTypeCount>& names,
                                  const Choices& play);

  private:
    // Row `row` (0..9): its name label and its option elements (0 "Play", 1 "Avoid").
    QLabel* lblField(int row) const;
    QRadioButton* option(int row, int element) const;

    std::unique_ptr<Ui::frmSongPref> m_ui;
};
