#pragma once

#include <QDialog>

#include <memory>

namespace Ui
{
class FrmQuery;
}

// The yes/no question. "Yes" accepts and "No" rejects; either hides the dialog. Closing it
// with its close box (or Escape) counts as "No", so only a pressed "Yes" ever answers yes.
class FrmQuery : public QDialog
{
    Q_OBJECT
  public:
    explicit FrmQuery(QWidget* parent = nullptr);
    ~FrmQuery() override;

    // Shows `question` modally, centred on `over` (the window that asks) when one is given;
    // true when the user answered "Yes".
    bool ask(const QString& question, const QWidget* over = nullptr);

  private:
    std::unique_ptr<Ui::FrmQuery> m_ui;
};
