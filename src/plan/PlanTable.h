#pragma once

#include "plan/PlanOutline.h"

#include <QFont>
#include <QList>
#include <QString>

class QPainter;
class QPaintDevice;
class QTextLayout;

// A table of the plan's pages (the rows of a schedule, a song list, the party, the names or
// the checks) laid out and painted directly, line by line, rather than through the text
// document: a schedule of ten thousand rows is set in a fraction of the time, and a page
// paints only its own rows. Looks as the document's tables do: the column names white on
// blue, every other row shaded, times never broken, the names and their sayings set large.
class PlanTable
{
  public:
    // `compact`: the run sheet's small type and tight cells. The table shows the first `rows`
    // of the block's rows, and texts longer than `longest` characters are shortened with an
    // ellipsis (the pages' share of a very large event).
    PlanTable(const PlanBlock& block, bool compact, qsizetype longest, qsizetype rows);

    // Sets the table in `width` device pixels for `device` with the document's `font`.
    void layout(qreal width, const QPaintDevice* device, const QFont& font);
    qreal width() const { return m_width; }
    qreal height() const { return m_tops.isEmpty() ? 0 : m_tops.last(); }
    // Where each row starts, the column names first when the table has them, and the
    // table's bottom last.
    const QList<qreal>& rowTops() const { return m_tops; }
    bool hasHeader() const { return m_header; }
    // Paints the rows that reach into [top, bottom) of the table with the table's top left
    // corner at `at`; a row's lines outside that band are left out.
    void paint(QPainter* painter, const QPointF& at, qreal top, qreal bottom) const;

    // The text a table shows of `text` with its lines broken for the page.
    static QString cellText(const QString& text, qsizetype longest);

  private:
    enum Style : quint8 { Body, Head, Name, Role, Say, Problem, Advice, Label, StyleCount };
    struct Part {
        QString text;
        Style style = Body;
    };
    struct Cell {
        QList<Part> parts; // paragraphs, one under the other
        bool unbroken = false;
    };
    struct Row {
        QList<Cell> cells;
        bool shaded = false;
        bool head = false;
    };

    // Lays `part` out in `width`; returns its height.
    qreal setLines(QTextLayout& layout, const Part& part, bool unbroken, qreal width) const;
    void columnWidths(qreal width);

    QList<Row> m_rows;
    QList<int> m_percent; // each column's share in %, or 0 to be fitted to its texts
    qreal m_padding;      // around each cell, in pixels of the screen
    bool m_header = false;

    const QPaintDevice* m_device = nullptr;
    qreal m_dpi = 96;
    QFont m_fonts[StyleCount];
    qreal m_width = 0;
    QList<qreal> m_columns; // widths in device pixels
    QList<qreal> m_tops;
};
