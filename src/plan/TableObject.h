#pragma once

#include "plan/PlanTable.h"

#include <QList>
#include <QObject>
#include <QTextObjectInterface>

class QTextBlock;
class QTextDocument;

// The plan's tables inside a text document made for pages: each stands in the place of the
// picture named "table:N" (the N-th table), as wide as the document's text and as tall as
// its rows. The document lays out and paints only the space; the table paints the rows that
// reach into what the painter's clip shows, so each page paints only its own rows.
class TableObject : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

  public:
    static constexpr int kObjectType = QTextFormat::UserObject + 2;

    // Puts `tables` into `document` (which owns the handler) where their pictures stand.
    static void install(QTextDocument* document, const QList<PlanTable>& tables);
    // The table that `block` holds, laid out, and where its top lies in the document; null
    // when the block holds none.
    static const PlanTable* tableIn(const QTextBlock& block, qreal* top);

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;

  private:
    TableObject(const QList<PlanTable>& tables, QObject* parent);
    PlanTable& table(const QTextDocument* document, const QTextFormat& format);

    QList<PlanTable> m_tables;
};
