#include "RichTextViewer.h"

#include "RtfReader.h"

#include <QFile>
#include <QStringDecoder>

RichTextViewer::RichTextViewer(QWidget* parent) : QTextBrowser(parent)
{
    setReadOnly(true);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Without a keyboard text cursor the arrow and page keys scroll the view.
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Rich text"));
    document()->setUndoRedoEnabled(false);
}

bool RichTextViewer::loadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        clear();
        return false;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        clear();
        return false;
    }
    if (!RtfReader::read(data, document()))
        setPlainText(plainText(data));
    moveCursor(QTextCursor::Start);
    return true;
}

QString RichTextViewer::plainText(const QByteArray& data)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    return RtfReader::fromCp1252(data);
}
