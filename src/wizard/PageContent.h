#pragma once

#include <QString>

class QWidget;
class RichTextViewer;

// Builds the content the welcome and finish pages share: the read-only rich-text viewer
// RichTextBox1 filling the page's content area, loaded from `rtfFile`.
namespace PageContent
{
RichTextViewer* addRichText(QWidget* content, const QString& rtfFile);
}
