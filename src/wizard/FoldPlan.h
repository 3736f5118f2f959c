#pragma once

#include <QList>
#include <QtGlobal>

// The closing fold of the finish page, in twips (1/1440 inch). The window first shrinks
// towards its horizontal centre line in steps of 80, then, as a line 10 high, towards its
// centre point in steps of 50. Sizes are 16-bit whole numbers; positions keep their exact
// halves.
namespace FoldPlan
{

struct Step {
    double left;
    double top;
    qint16 width;
    qint16 height;
};

struct Window {
    qint32 left;   // l0
    qint32 top;    // t0
    qint32 width;  // w0
    qint32 height; // h0
};

// Every geometry the fold sets, in order. `before` is the window as it was when the fold
// began; `titleless` is its size once the title is removed (the fold starts from there).
// Sizes beyond 16 bits are held at 32767 instead of overflowing.
QList<Step> plan(const Window& before, qint32 titlelessWidth, qint32 titlelessHeight);

} // namespace FoldPlan
