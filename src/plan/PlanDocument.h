#pragma once

#include "plan/PlanFinding.h"
#include "plan/PlanOutline.h"
#include "plan/PlanTimeline.h"
#include "store/EventPlan.h"

#include <QImage>
#include <QList>
#include <QPageSize>
#include <QString>

#include <memory>

class QFontMetricsF;
class QPagedPaintDevice;
class QPaintDevice;
class QTextDocument;

// The plan of one event for the entertainer, in every form: a PDF or a printer's pages
// (running header with the couple and the date, page numbers, table rows kept whole), one
// self-contained HTML file, plain text for an e-mail, and a text document for a window.
// Made from the event and its findings alone; the dress picture is taken from the media
// folder when it is there.
class PlanDocument
{
  public:
    PlanDocument(const EventPlan& plan, const QList<PlanFinding>& findings,
                 const QString& mediaFolder);
    // The run sheet of the event in the same forms: set smaller, without pictures.
    static PlanDocument runSheet(const EventPlan& plan, const QList<PlanFinding>& findings);
    ~PlanDocument();

    // An XHTML file with its styles and pictures inside.
    QString html() const;
    QString text() const;
    // The document as the review window shows it, pictures as its resources.
    std::unique_ptr<QTextDocument> textDocument() const;
    // "Anna Smith & Ben Jones - Saturday, April 20, 2002": the header of every page.
    QString runningHeader() const;
    // The same within `width`: the couple's names shortened with an ellipsis (each name still
    // set apart by direction), the date whole.
    QString runningHeader(const QFontMetricsF& metrics, qreal width) const;

    // Lays the document out on the device's pages and paints them; returns their number.
    int print(QPagedPaintDevice* device) const;
    // The number of pages of the PDF on this paper.
    int pageCount(const QPageSize& size) const;
    // Writes a PDF; an existing file is replaced only when the new one is complete. False
    // with `error` naming the file and the reason on failure.
    bool writePdf(const QString& file, const QPageSize& size, QString* error) const;
    // Writes the HTML or text form (chosen by the file's suffix: .html/.htm or .txt, and .pdf
    // for the PDF with `size`) the same way.
    bool write(const QString& file, const QPageSize& size, QString* error) const;

    // "Reception plan" or "Run sheet": the right-hand side of every page's header.
    QString kindName() const { return m_kind; }

  private:
    // The HTML file; the window's text document; the text document the pages are cut from,
    // its long tables set by PlanTable.
    enum class Form { File, Window, Pages };
    // What the pages and the window show of the tables of a very large event.
    struct PagesShare;
    PlanDocument() = default;
    PagesShare pagesShare() const;
    // `share`: what the pages and the window show of the tables (not used by the file).
    QString markup(Form form, const PagesShare* share = nullptr) const;
    // The Pages form is laid out for `device` in `width` from the start: a table laid out at
    // another width first could be taller than the text engine can place.
    std::unique_ptr<QTextDocument> document(Form form, QPaintDevice* device = nullptr,
                                            qreal width = -1) const;

    QString m_kind = QStringLiteral("Reception plan");
    bool m_compact = false;

    PlanOutline::TitleBlock m_title;
    QList<PlanSection> m_sections;
    PlanTimeline m_timeline;
    QImage m_dress;
};
