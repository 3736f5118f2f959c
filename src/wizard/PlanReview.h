#pragma once

#include "plan/PlanDocument.h"
#include "plan/PlanFinding.h"

#include <QDialog>

#include <memory>
#include <optional>

class QTextBrowser;

// The couple's look at their plan from the finish page: the checks on top, each with a
// button to the page that mends it, the plan document below, and Save as PDF, Run Sheet (the
// entertainer's pages for the night, as a PDF), Print and Close. Choosing a page closes the window; the opener goes there (chosenPage()).
class PlanReview : public QDialog
{
    Q_OBJECT
  public:
    PlanReview(const EventPlan& plan, const QList<PlanFinding>& findings,
               const QString& mediaFolder, QWidget* parent);
    ~PlanReview() override;

    // The page the couple chose to mend a finding on, when they chose one.
    std::optional<int> chosenPage() const { return m_chosenPage; }

  private:
    void savePdf(const PlanDocument& document, const QString& title, const QString& name);
    void print();

    PlanDocument m_document;
    PlanDocument m_runSheet;
    std::unique_ptr<QTextDocument> m_shown;
    QTextBrowser* m_browser = nullptr;
    std::optional<int> m_chosenPage;
};
