#pragma once

#include <QWidget>

// The forms' design sizes are in twips, 1/1440 inch; on screen they are pixels at the
// widget's logical resolution (15 twips a pixel at 96 dpi).
namespace Twips
{
inline int pixels(const QWidget* widget, int twips)
{
    return twips * widget->logicalDpiX() / 1440;
}
} // namespace Twips
