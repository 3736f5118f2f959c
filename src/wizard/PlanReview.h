#pragma once

#include "plan/PlanDocument.h"
#include "plan/PlanFinding.h"

#include <QDialog>

#include <memory>
#include <optional>

class QTextBrowser;

// The couple's look at their plan from the finish page: the checks on top, each with a
// button to the page that mends it, the plan document below, and Save as PDF, Print and
// Close. Choosing a page closes the window; the opener goes there (chosenPage()).
class PlanReview : public QDialog
{
    Q_OBJECT
  public:
    PlanReview(const EventPlan& plan, const QList<PlanFinding>& findings,
               const QString& mediaFolder, QWidget* parent);
    ~PlanReview() override;

    // The page the couple chose to mend a finding on, when they chose one.
    std::optional<int> chosenPage() const { return m_chosenPage; }
    // What on that page the chosen finding is about (PlanFinding::item).
    qint64 chosenItem() const { return m_chosenItem; }

    // The name Save as PDF proposes: the event's date and the couple's names
    // ("2027-06-12 Anna Smith & Benedikt Jovanovic.pdf"), whichever of them are known.
    static QString pdfFileName(const EventPlan& plan);

  private:
    void savePdf();
    void print();

    PlanDocument m_document;
    std::unique_ptr<QTextDocument> m_shown;
    QTextBrowser* m_browser = nullptr;
    QString m_pdfName;
    std::optional<int> m_chosenPage;
    qint64 m_chosenItem = -1;
};
