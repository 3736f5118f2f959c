#pragma once

#include "store/EventPlan.h"

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>

class QPainter;
class QPaintDevice;

// The evening drawn to scale: a band from the start time to the end time with its hours
// marked, and each timed activity marked where it falls, labelled with its number in the
// schedule and its name. Labels that would overlap move down to a free row; where the rows
// fill up, names are shortened, then left out (the number stays), and, where even the numbers
// crowd, activities that fall close together share one label ("12-19"). Drawn as vector
// graphics whose labels stay text: with a painter (the PDF, the printer and the review
// window) and as SVG (the HTML file).
class PlanTimeline
{
  public:
    PlanTimeline() = default;
    explicit PlanTimeline(const EventPlan& plan);
    bool isEmpty() const { return !m_drawn; }

    // Where everything goes on a drawing `width` units wide. The units are those of `device`
    // (its pixels; 96 per inch without one), whose font metrics place the labels.
    struct Label {
        qreal x; // the mark the label belongs to
        QRectF box;
        qreal baseline;
        QString text;
        bool outside; // before the start or after the end of the evening
    };
    struct Hour {
        qreal x;
        qreal textX;
        QString text;
    };
    struct Drawing {
        QSizeF size;
        qreal unit = 1; // one pixel at 96 per inch
        qreal left = 0, right = 0, axis = 0;
        QFont font;
        QList<Hour> hours;
        QList<QPair<qreal, bool>> dots; // x, outside
        QList<Label> labels;
    };
    Drawing layout(qreal width, const QPaintDevice* device) const;
    void paint(QPainter* painter, const QPointF& topLeft, const Drawing& drawing) const;

    // An inline SVG element, as wide as the body of a page, described by `description`.
    QString svg(const QString& description) const;

  private:
    struct Item {
        int number;
        QString name;
        int offset; // seconds from the start, within the evening
        bool outside;
    };
    bool m_drawn = false;
    int m_start = 0;
    int m_length = 1;
    QList<Item> m_items;
};
