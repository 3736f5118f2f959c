#include "TableObject.h"

#include "plan/TextObjectPlace.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>

namespace
{
constexpr int kIndex = QTextFormat::UserProperty + 1; // which table an object stands for
const QString kPrefix = QStringLiteral("table:");
} // namespace

TableObject::TableObject(const QList<PlanTable>& tables, QObject* parent)
    : QObject(parent), m_tables(tables)
{
}

void TableObject::install(QTextDocument* document, const QList<PlanTable>& tables)
{
    document->documentLayout()->registerHandler(kObjectType, new TableObject(tables, document));
    placeTextObjects(document, [](const QString& name) -> std::optional<QTextCharFormat> {
        if (!name.startsWith(kPrefix))
            return std::nullopt;
        QTextCharFormat format;
        format.setObjectType(kObjectType);
        format.setProperty(kIndex, name.mid(kPrefix.size()).toInt());
        return format;
    });
}

const PlanTable* TableObject::tableIn(const QTextBlock& block, qreal* top)
{
    const QTextCharFormat format = block.begin().atEnd() ? QTextCharFormat()
                                                         : block.begin().fragment().charFormat();
    if (format.objectType() != kObjectType || !block.layout() || block.layout()->lineCount() == 0)
        return nullptr;
    const QTextDocument* document = block.document();
    auto* handler =
        dynamic_cast<TableObject*>(document->documentLayout()->handlerForObject(kObjectType));
    if (!handler)
        return nullptr;
    const PlanTable& table = handler->table(document, format);
    // The table stands on the line's base line.
    const QTextLine line = block.layout()->lineAt(0);
    *top = block.layout()->position().y() + line.y() + line.ascent() - table.height();
    return &table;
}

PlanTable& TableObject::table(const QTextDocument* document, const QTextFormat& format)
{
    PlanTable& table = m_tables[format.property(kIndex).toInt()];
    // As wide as the text: the page's body.
    const qreal text =
        document->textWidth() > 0 ? document->textWidth() : document->pageSize().width();
    table.layout(text - 2 * document->documentMargin(), document->documentLayout()->paintDevice(),
                 document->defaultFont());
    return table;
}

QSizeF TableObject::intrinsicSize(QTextDocument* document, int, const QTextFormat& format)
{
    const PlanTable& t = table(document, format);
    return QSizeF(t.width(), t.height());
}

void TableObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                             const QTextFormat& format)
{
    // Only the rows the painter's clip shows; a line reaching less than half a point into it
    // belongs to the page beside.
    const QRectF shown = painter->hasClipping() ? painter->clipBoundingRect() : rect;
    const qreal hair = painter->device()->logicalDpiY() / 144.0;
    table(document, format)
        .paint(painter, rect.topLeft(), shown.top() - rect.top() + hair,
               shown.bottom() - rect.top() - hair);
}
