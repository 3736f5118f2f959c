#pragma once

class QLabel;
class QString;

// A label that sums up answers (a person, the facility, the music chosen). It keeps its
// short accessible name ("Bride", "Facility"), by which a screen reader announces it, and
// carries the summary itself as its accessible description, so the reader also reads what
// the label shows. Lines are separated by "\n" there, never CR LF.
class SummaryLabel
{
  public:
    static void show(QLabel* label, const QString& text);
};
