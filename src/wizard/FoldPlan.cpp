#include "FoldPlan.h"

#include <algorithm>

namespace FoldPlan
{

static qint16 clamp16(qint32 v)
{
    return qint16(std::clamp<qint32>(v, -32768, 32767));
}

QList<Step> plan(const Window& before, qint32 titlelessWidth, qint32 titlelessHeight)
{
    const qint16 t0 = clamp16(before.top), l0 = clamp16(before.left);
    const qint16 w0 = clamp16(before.width), h0 = clamp16(before.height);
    qint16 w = clamp16(titlelessWidth), h = clamp16(titlelessHeight);
    QList<Step> steps;
    double left = l0, top = t0;

    // Vertical fold: repeat ... until h = 1.
    do {
        h = qint16(std::max(h - 80, -1));
        if (h < 0)
            h = 1;
        top = t0 + (qint32(h0) - h) / 2.0;
        steps.append({left, top, w, h});
    } while (h != 1);

    h = 10;
    steps.append({left, top, w, h});

    // Horizontal fold: repeat ... until w = 1.
    do {
        w = qint16(std::max(w - 50, -1));
        if (w < 0)
            w = 1;
        left = l0 + (qint32(w0) - w) / 2.0;
        steps.append({left, top, w, h});
    } while (w != 1);
    return steps;
}

} // namespace FoldPlan
