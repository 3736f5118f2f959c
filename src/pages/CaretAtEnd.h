#pragma once

#include <QObject>

class QLineEdit;
class QPlainTextEdit;
class QString;

// Puts the caret at the end of a text box's text, with nothing selected, whenever the box
// receives the focus (a box entered with Tab would otherwise select its whole text).
class CaretAtEnd : public QObject
{
    Q_OBJECT
  public:
    // Watches `edit`; the filter is owned by the box.
    static void install(QLineEdit* edit);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using QObject::QObject;
    bool m_inside = false;
};

// Text boxes of several lines hold "\n" between lines; the stored answers hold CR LF, as
// the entertainer's tools expect.
namespace MultiLine
{
QString toStored(const QPlainTextEdit* box);
// The text as typed, every character kept, with "\n" between lines.
QString typed(const QPlainTextEdit* box);
void show(QPlainTextEdit* box, const QString& stored);
} // namespace MultiLine

// Fills a length-limited box. A stored value longer than the box's limit (written by
// another tool) is shown whole instead of being cut, so saving the page again cannot lose
// its end; the limit applies again at the next fill with a shorter value.
void setLimitedText(QLineEdit* edit, int limit, const QString& text);
