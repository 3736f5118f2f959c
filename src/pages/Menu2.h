#pragma once

#include "wizard/PageDialog.h"
#include "wizard/WizardPage.h"

#include <memory>

struct PersonRecord;
class frmBGInfo;
class QLabel;
namespace Ui
{
class Menu2;
}

// The bride and groom page: the personal and contact details of both, edited one person
// at a time in the shared dialog frmBGInfo and summarised side by side. Next goes on only
// when both persons have a name, and then writes all 22 items of both.
class Menu2 : public WizardPage
{
    Q_OBJECT
  public:
    explicit Menu2(Wizard& wizard);
    ~Menu2() override;

  protected:
    void loadPage() override;
    void focusFinding(qint64 item) override;
    bool checkPage() override;
    bool savePage() override;
    // Escape opens the groom's dialog on this page.
    QAbstractButton* escapeButton() const override;

  private:
    void editPerson(PersonRecord& person, const QString& caption, QLabel* summary,
                    QWidget* focusAfter);
    static void showSummary(QLabel* label, const PersonRecord& person);

    std::unique_ptr<Ui::Menu2> m_ui;
    DialogSlot<frmBGInfo> m_dialog;
};
