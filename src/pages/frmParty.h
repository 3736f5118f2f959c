#pragma once

#include "store/EventPlan.h"
#include "wizard/PageDialog.h"

#include <QString>

#include <memory>
#include <optional>

class QComboBox;
class QLineEdit;
namespace Ui
{
class frmParty;
}

// The party member dialog: one member with name, pronunciation and role, and optionally
// the member's escort with the same three fields.
//
// Save is enabled only while the names needed are present. Save hides the dialog and hands
// the member back; Cancel (and Escape) hides it and hands back nothing, keeping what was
// typed; the close box discards the dialog so that its next use starts from the form load.
// After a Save the opener empties the fields with clearEntry().
class frmParty : public PageDialog
{
    Q_OBJECT
  public:
    frmParty(WizardState& state, QWidget* owner);
    ~frmParty() override;

    // Shows the dialog modally; after Save returns the member with the six texts as typed
    // (not trimmed), otherwise nothing.
    std::optional<PartyMember> ask();

    // Shows the dialog filled with `member`; after Save returns the changed member,
    // otherwise nothing. Either way the dialog then holds again what it held before, so
    // the next Add finds the entry it left.
    std::optional<PartyMember> edit(const PartyMember& member);

    // The opener's clearing after a Save: empties the six texts and both pickers'
    // selections; the escort choice stays as the user left it.
    void clearEntry();

    // The role lists, each entry separated by "|".
    static const QString kMemberRoles;
    static const QString kEscortRoles;
    // A picker entry as it goes into the role box: without its parenthesised remark.
    static QString roleOf(const QString& entry);

  private:
    // What the dialog holds: the six texts, the pickers' entries and the escort choice.
    struct Entry {
        PartyMember member;
        int role1 = -1;
        int role2 = -1;
        bool escorted = true;
    };
    Entry entry() const;
    void setEntry(const Entry& e);
    void formLoad();
    void pickRole(QComboBox* picker, QLineEdit* box, int index);
    void setEscorted(bool escorted);
    void saveCheck();

    std::unique_ptr<Ui::frmParty> m_ui;
};
