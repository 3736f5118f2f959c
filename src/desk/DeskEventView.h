#pragma once

#include "store/EventPlan.h"

#include <QWidget>

#include <memory>
#include <optional>

class PlanDocument;
class QTabWidget;
class QTextDocument;

// One couple's event as the entertainer reads it at the desk: the plan and the run sheet as
// tabs. Made from the event's current file; `previousFile` (empty when there is none) is the
// version filed before it, and `catalogueFile` the entertainer's library (empty when none).
// The event files are only read.
class DeskEventView : public QWidget
{
    Q_OBJECT
  public:
    DeskEventView(const QString& eventFile, const QString& previousFile,
                  const QString& catalogueFile, QWidget* parent = nullptr);
    ~DeskEventView() override;

    // False when the event file could not be read; errorString() then says why.
    bool isReadable() const { return m_plan.has_value(); }
    QString errorString() const { return m_error; }

  private:
    void addDocumentTab(const PlanDocument& document, const QString& title,
                        const QString& objectName);

    QString m_eventFile;
    QString m_previousFile;
    QString m_catalogueFile;
    std::optional<EventPlan> m_plan;
    QString m_error;
    QTabWidget* m_tabs = nullptr;
    std::vector<std::unique_ptr<QTextDocument>> m_shown;
};
