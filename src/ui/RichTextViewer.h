#pragma once

#include <QTextBrowser>

// The read-only viewer of the rich texts in the data folder. It loads an RTF file through
// RtfReader; a file that is not RTF is shown as plain text, and a missing or unreadable
// file leaves the viewer empty. Text wraps at the widget's width, the keyboard scrolls,
// and links are never followed. The page that holds a viewer gives it its object name.
class RichTextViewer : public QTextBrowser
{
    Q_OBJECT
  public:
    explicit RichTextViewer(QWidget* parent = nullptr);

    // Replaces the content with the file at `path`. Returns false (and shows nothing)
    // when the file cannot be read.
    bool loadFile(const QString& path);

    // The text shown when `data` is not RTF: UTF-8 when it is valid UTF-8, otherwise
    // code page 1252.
    static QString plainText(const QByteArray& data);
};
