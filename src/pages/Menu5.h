#pragma once

#include "pages/frmParty.h"
#include "wizard/PageDialog.h"
#include "wizard/WizardPage.h"

#include <memory>

class ListLook;
class QTreeWidgetItem;
namespace Ui
{
class Menu5;
}

// The bridal party page: the members with their roles and escorts, one row each.
//
// The list is read from the keyed items BPCOUNT and BPN1 ... once, when the page loads,
// changed only on the page (Add and Edit through the party member dialog, Remove, which
// can be undone until the page is left), and written
// back whole on Next. Rows of an earlier, longer list stay in the store unread.
class Menu5 : public WizardPage
{
    Q_OBJECT
  public:
    explicit Menu5(Wizard& wizard);
    ~Menu5() override;

    // The most rows the list holds: the row count is stored as a 16-bit number.
    static constexpr int kMaxRows = 32767;

  protected:
    void loadPage() override;
    void focusFinding(qint64 item) override;
    bool savePage() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setUpList();
    void loadRows();
    static QTreeWidgetItem* rowOf(const PartyMember& member);
    static PartyMember memberOf(const QTreeWidgetItem* row);
    void addMember();
    void editMember();
    void removeMember();
    void fitColumns();

    std::unique_ptr<Ui::Menu5> m_ui;
    DialogSlot<frmParty> m_party;
    ListLook* m_look = nullptr;
    bool m_fitting = false;
    bool m_userSized = false;
};
