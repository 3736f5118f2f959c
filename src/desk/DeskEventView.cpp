#include "desk/DeskEventView.h"

#include "plan/PlanChecks.h"
#include "plan/PlanDocument.h"
#include "store/EventSnapshot.h"

#include <QDate>
#include <QLabel>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

DeskEventView::DeskEventView(const QString& eventFile, const QString& previousFile,
                             const QString& catalogueFile, QWidget* parent)
    : QWidget(parent), m_eventFile(eventFile), m_previousFile(previousFile),
      m_catalogueFile(catalogueFile)
{
    auto* layout = new QVBoxLayout(this);
    m_plan = EventSnapshot::read(eventFile, &m_error);
    if (!m_plan) {
        auto* message = new QLabel(m_error, this);
        message->setObjectName(QStringLiteral("lblUnreadable"));
        message->setWordWrap(true);
        layout->addWidget(message);
        return;
    }
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabEvent"));
    layout->addWidget(m_tabs);

    const QList<PlanFinding> findings =
        PlanChecks::run(*m_plan, QDate::currentDate(), PlanChecks::ForEntertainer);
    addDocumentTab(PlanDocument(*m_plan, findings, QString()), tr("Plan"),
                   QStringLiteral("tabPlan"));
    addDocumentTab(PlanDocument::runSheet(*m_plan, findings), tr("Run Sheet"),
                   QStringLiteral("tabRunSheet"));
}

DeskEventView::~DeskEventView() = default;

void DeskEventView::addDocumentTab(const PlanDocument& document, const QString& title,
                                   const QString& objectName)
{
    auto* browser = new QTextBrowser(m_tabs);
    browser->setObjectName(objectName);
    m_shown.push_back(document.textDocument());
    browser->setDocument(m_shown.back().get());
    m_tabs->addTab(browser, title);
}
