#include "TimelineObject.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

TimelineObject::TimelineObject(const PlanTimeline& timeline, QObject* parent)
    : QObject(parent), m_timeline(timeline)
{
}

void TimelineObject::install(QTextDocument* document, const PlanTimeline& timeline)
{
    // The picture stands in a paragraph of its own, outside the tables: only the blocks of the
    // document's top level are looked at, each table passed over whole. Its format is changed
    // before the document has a layout, which would otherwise lay it all out at once.
    for (auto it = document->rootFrame()->begin(); !it.atEnd(); ++it)
        for (auto part = it.currentBlock().begin(); !part.atEnd(); ++part) {
            const QTextFragment fragment = part.fragment();
            if (fragment.charFormat().toImageFormat().name() != QLatin1String("timeline"))
                continue;
            QTextCursor at(document);
            at.setPosition(fragment.position());
            at.setPosition(fragment.position() + 1, QTextCursor::KeepAnchor);
            QTextCharFormat format;
            format.setObjectType(kObjectType);
            at.setCharFormat(format);
            document->documentLayout()->registerHandler(kObjectType,
                                                        new TimelineObject(timeline, document));
            return;
        }
}

const PlanTimeline::Drawing& TimelineObject::drawing(QTextDocument* document, qreal width)
{
    const QPaintDevice* device = document->documentLayout()->paintDevice();
    if ((width != m_width && width != m_drawing.size.width()) || device != m_device) {
        m_drawing = m_timeline.layout(width, device);
        m_width = width;
        m_device = device;
    }
    return m_drawing;
}

QSizeF TimelineObject::intrinsicSize(QTextDocument* document, int, const QTextFormat&)
{
    // As wide as the text: the page's body, or the window's.
    const qreal text =
        document->textWidth() > 0 ? document->textWidth() : document->pageSize().width();
    const qreal unit = document->documentLayout()->paintDevice()
                           ? document->documentLayout()->paintDevice()->logicalDpiX() / 96.0
                           : 1.0;
    const qreal width = text > 0 ? text - 2 * document->documentMargin() - unit : 680 * unit;
    return drawing(document, width).size;
}

void TimelineObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                                const QTextFormat&)
{
    m_timeline.paint(painter, rect.topLeft(), drawing(document, rect.width()));
}
