#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QCheckBox;
class QLineEdit;

// "Send to Your Entertainer": asks where the copy of the event file goes (the documents
// folder unless the couple picks another) and whether the plan goes beside it as a PDF.
class SendPlan : public QDialog
{
    Q_OBJECT
  public:
    struct Choice {
        QString folder;
        bool pdf = false;
        bool operator==(const Choice&) const = default;
    };

    // Asks; nothing when the couple cancelled. `fileName` is the name the copy will have.
    static std::optional<Choice> ask(const QString& fileName, QWidget* parent);

  private:
    SendPlan(const QString& fileName, QWidget* parent);
    void browse();
    void save();

    QLineEdit* m_folder;
    QCheckBox* m_pdf;
};
