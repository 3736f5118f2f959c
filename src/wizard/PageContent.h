#pragma once

#include <QString>

class QWidget;
class RichTextViewer;
struct WizardState;

// Builds the content the welcome and finish pages share: the read-only rich-text viewer
// RichTextBox1 filling the page's content area, loaded from `rtfFile`.
namespace PageContent
{
RichTextViewer* addRichText(QWidget* content, const QString& rtfFile);
// Below the text: how to reach the entertainer and, once the plan is final, since when
// (labels lblEntertainer and lblFrozen); nothing when the catalogue names no entertainer.
void addEntertainer(QWidget* content, const WizardState& state);
}
