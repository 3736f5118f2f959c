#pragma once

#include <QDialog>

#include <memory>

struct WizardState;
namespace Ui
{
class FrmQuery;
}

// The yes/no question. "Yes" sets QueryAnswer to 1, "No" to 0; either hides the dialog.
// Closing it with its close box (or Escape) counts as "No" and sets 0 as well, so an
// answer left over from another dialog can never be taken for "Yes".
class FrmQuery : public QDialog
{
    Q_OBJECT
  public:
    explicit FrmQuery(WizardState& state, QWidget* parent = nullptr);
    ~FrmQuery() override;

    void setQuestion(const QString& text);

    void reject() override;

  private:
    std::unique_ptr<Ui::FrmQuery> m_ui;
    WizardState& m_state;
};
