#pragma once

#include "wizard/PageDialog.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class UserFieldValues;

namespace Ui
{
class FrmInput;
}

// The user field picker: offers, in ComboUser1, each non-blank value that one user field
// takes in the music database, sorted, so that the user can pick one. OK hands the picked
// value back, Cancel, Escape and the close box nothing. The music database is read only.
class FrmInput : public PageDialog
{
    Q_OBJECT
  public:
    FrmInput(WizardState& state, QWidget* owner = nullptr);
    ~FrmInput() override;

    // Prepares ComboUser1 for user field Index (1..9). An index outside 1..9, a missing
    // music database or a statement the database refuses leave the list empty.
    void FillDropDowns(qint16& Index);

    // The statement of the last FillDropDowns (the list's record source).
    QString statement() const { return m_statement; }
    QStringList values() const;
    // The value picked in ComboUser1.
    QString value() const;
    // Shows the dialog modally; the picked value after OK, nothing otherwise.
    std::optional<QString> ask();
    // Captions Label1 (e.g. with the user field's name).
    void setFieldCaption(const QString& caption);

    // The file the values are read from: the music database of the path mapping.
    static QString databaseFile();

  private:
    std::unique_ptr<Ui::FrmInput> m_ui;
    std::unique_ptr<UserFieldValues> m_values;
    QString m_statement;
};
