#pragma once

#include "plan/PlanDocument.h"
#include "plan/PlanFinding.h"

#include <QDialog>

#include <memory>
#include <optional>

class NameSpeaker;
class QTextBrowser;

// The couple's look at their plan from the finish page: the checks on top, each with a
// button to the page that mends it, the plan document below, and Save as PDF, Run Sheet (the
// entertainer's pages for the night, as a PDF), Print and Close; under the plan, every name
// with its pronunciation and a Say It button (NameSayList, reached after Close with the
// keyboard). Choosing a page closes the window; the opener goes there (chosenPage()).
class PlanReview : public QDialog
{
    Q_OBJECT
  public:
    // `speaker` says the names; null when names cannot be said.
    PlanReview(const EventPlan& plan, const QList<PlanFinding>& findings,
               const QString& mediaFolder, NameSpeaker* speaker, QWidget* parent);
    ~PlanReview() override;

    // The page the couple chose to mend a finding on, when they chose one.
    std::optional<int> chosenPage() const { return m_chosenPage; }
    // What on that page the chosen finding is about (PlanFinding::item).
    qint64 chosenItem() const { return m_chosenItem; }

    // The name Save as PDF proposes: the event's date and the couple's names
    // ("2027-06-12 Anna Smith & Benedikt Jovanovic.pdf"), whichever of them are known.
    static QString pdfFileName(const EventPlan& plan);
    // The same for the run sheet: "2027-06-12 Anna Smith & Benedikt Jovanovic run sheet.pdf".
    static QString runSheetFileName(const EventPlan& plan);

    // Asks where to save `document` as PDF (the filter chooses the paper), proposing `name`
    // in the user's documents folder; writes it under the busy pointer and says `saved` with
    // the file's path, or why it could not be saved. Shared with the entertainer's desk.
    static void savePdf(QWidget* parent, const PlanDocument& document, const QString& title,
                        const QString& name, const QString& saved);
    // Asks for a printer and prints `document` under the busy pointer.
    static void print(QWidget* parent, const PlanDocument& document, const QString& docName);

  private:

    PlanDocument m_document;
    PlanDocument m_runSheet;
    std::unique_ptr<QTextDocument> m_shown;
    QTextBrowser* m_browser = nullptr;
    QString m_pdfName;
    std::optional<int> m_chosenPage;
    qint64 m_chosenItem = -1;
};
