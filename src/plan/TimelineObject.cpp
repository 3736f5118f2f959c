#include "TimelineObject.h"

#include "plan/TextObjectPlace.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>

TimelineObject::TimelineObject(const PlanTimeline& timeline, QObject* parent)
    : QObject(parent), m_timeline(timeline)
{
}

void TimelineObject::install(QTextDocument* document, const PlanTimeline& timeline)
{
    document->documentLayout()->registerHandler(kObjectType, new TimelineObject(timeline, document));
    placeTextObjects(document, [](const QString& name) -> std::optional<QTextCharFormat> {
        if (name != QLatin1String("timeline"))
            return std::nullopt;
        QTextCharFormat format;
        format.setObjectType(kObjectType);
        return format;
    });
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
