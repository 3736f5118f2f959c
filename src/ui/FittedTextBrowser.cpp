#include "FittedTextBrowser.h"

FittedTextBrowser::FittedTextBrowser(QWidget* parent) : QTextBrowser(parent)
{
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(qMax(1, viewport()->width() - kSlack));
}

void FittedTextBrowser::resizeEvent(QResizeEvent* event)
{
    // Both the frame's and the viewport's resizes arrive here (a vertical scroll bar coming or
    // going changes only the viewport); the text is laid out again only when its width changes.
    const int width = qMax(1, viewport()->width() - kSlack);
    if (width != lineWrapColumnOrWidth())
        setLineWrapColumnOrWidth(width);
    QTextBrowser::resizeEvent(event);
}
