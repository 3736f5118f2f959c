#pragma once

#include <QFont>
#include <QString>

class QFrame;
class QLabel;
class QWidget;

// The look every page and dialog shares: banner colours, the Tahoma heading fonts (with
// the closest fallbacks on machines without Tahoma) and the logo picture.
namespace PageStyle
{

// A font of the Tahoma family in `pointSize`, falling back to similar sans-serif faces.
QFont tahoma(qreal pointSize, bool bold = false);

void banner(QFrame* frame);
void heading(QLabel* label);
void subtitle(QLabel* label);

// What a caption shows on screen: "&&" is one ampersand, a single "&" marks the mnemonic
// and is not shown.
QString shownText(const QString& caption);

// Shows the picture in `file` scaled into the label without distortion; a missing or
// unreadable picture shows none.
void logo(QLabel* label, const QString& file);

} // namespace PageStyle
