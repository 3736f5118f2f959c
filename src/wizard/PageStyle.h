#pragma once

#include <QFont>
#include <QString>

class QFrame;
class QLabel;
class QLineEdit;
class QWidget;

// The look every page and dialog shares: banner colours, the Tahoma heading fonts (with
// the closest fallbacks on machines without Tahoma), the logo picture, the gap between a
// dialog's answer buttons, box widths and window sizes.
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
// unreadable picture shows none. The picture's background (what reaches its border in the
// colour of its corner) is left out, so the logo stands on the banner without a square.
void logo(QLabel* label, const QString& file);

// The gap between a dialog's two answer buttons (Save and Cancel, OK and Cancel, Yes and
// No), the same in every dialog: 156 twips, about 10 pixels.
constexpr int kAnswerGap = 10;
// Puts kAnswerGap between `confirm` and `cancel`, which stand side by side in one layout.
void answerButtons(QWidget* confirm, QWidget* cancel);

// Makes a one-line box as wide as `chars` of the widest letter of its font, so any text it
// takes shows whole and the box is no wider than that.
void fitChars(QLineEdit* box, int chars);

// Makes a window no larger than the available area of its screen (less the title bar),
// where its layout allows; its position is left as it is.
void fitToScreen(QWidget* window);

// The first control inside `area` in the focus chain of `window` that takes an answer (of a
// group of option buttons the one chosen; a text that is only read asks nothing), or null.
QWidget* firstInput(const QWidget* window, const QWidget* area);
// Puts the keyboard on `input` with its text selected, so that typing replaces it.
void focusSelected(QWidget* input);

} // namespace PageStyle
