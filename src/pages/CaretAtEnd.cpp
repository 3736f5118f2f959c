#include "CaretAtEnd.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

void CaretAtEnd::install(QLineEdit* edit)
{
    edit->installEventFilter(new CaretAtEnd(edit));
}

bool CaretAtEnd::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusIn || m_inside)
        return false;
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit)
        return false;
    // Let the box take the focus its own way first (it may select everything), then move
    // the caret to the end.
    m_inside = true;
    QCoreApplication::sendEvent(edit, event);
    m_inside = false;
    edit->deselect();
    edit->end(false);
    return true;
}

namespace MultiLine
{

QString typed(const QPlainTextEdit* box)
{
    // The raw text keeps every character as typed (the plain text would turn no-break
    // spaces into spaces); its paragraph separators are the line breaks.
    QString text = box->document()->toRawText();
    return text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

QString toStored(const QPlainTextEdit* box)
{
    return typed(box).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

void show(QPlainTextEdit* box, const QString& stored)
{
    QString text = stored;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box->setPlainText(text);
}

} // namespace MultiLine

void setLimitedText(QLineEdit* edit, int limit, const QString& text)
{
    edit->setMaxLength(qMax(limit, int(text.size())));
    edit->setText(text);
    // The limit counts UTF-16 units: a character of two that would pass it is not let in
    // by halves.
    if (!edit->property("wholeCharacters").toBool()) {
        edit->setProperty("wholeCharacters", true);
        QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& now) {
            if (now.size() == edit->maxLength() && now.back().isHighSurrogate()) {
                const int caret = edit->cursorPosition();
                edit->setText(now.chopped(1));
                edit->setCursorPosition(std::min(caret, int(now.size()) - 1));
            }
        });
    }
}
