#pragma once

#include "plan/PlanTimeline.h"

#include <QObject>
#include <QTextObjectInterface>

class QTextDocument;

// The timeline inside a text document: it takes the place of the picture named "timeline",
// is as wide as the document's text and is painted with the document, as vector graphics on
// a PDF or a printer and on the screen of the review window.
class TimelineObject : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

  public:
    static constexpr int kObjectType = QTextFormat::UserObject + 1;

    // Puts `timeline` into `document` (which owns the handler) where its picture stands.
    static void install(QTextDocument* document, const PlanTimeline& timeline);

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;

  private:
    TimelineObject(const PlanTimeline& timeline, QObject* parent);
    const PlanTimeline::Drawing& drawing(QTextDocument* document, qreal width);

    PlanTimeline m_timeline;
    // The last layout: the document asks for the size and paints with the same width.
    PlanTimeline::Drawing m_drawing;
    qreal m_width = -1;
    const QPaintDevice* m_device = nullptr;
};
