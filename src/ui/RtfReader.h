#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// A compact reader for the rich texts of the data folder (welcome, farewell and song
// texts). It turns RTF into a QTextDocument through QTextCursor and text formats.
//
// Understood: groups, paragraphs and line breaks, tabs, bold, italic, underline, strike,
// font size, the font table (family names), the colour table and foreground colour,
// paragraph alignment, indents and spacing, \pard and \plain, hex escapes (code page
// 1252), \uN with \ucN skipping, escaped braces and backslashes, non-breaking space and
// hyphen, the typographic symbols (dashes, bullet, quotes). Destinations it does not know
// (\*\..., \info, \stylesheet, \pict, ...) are skipped, and so is \bin data.
//
// Any input is safe: unbalanced braces end or close the document, groups nested deeper
// than maxGroupDepth are read but their text is dropped, numeric parameters saturate,
// and the work is linear in the size of the input.
namespace RtfReader
{

// Groups nested deeper than this are skipped (real documents stay far below it).
inline constexpr int maxGroupDepth = 200;

// True when `data` starts like an RTF file ("{\rtf", after blanks and a UTF-8 BOM).
bool isRtf(const QByteArray& data);

// Replaces the content of `doc` with the rich text of `rtf`. Returns false, leaving `doc`
// untouched, when `rtf` is not RTF; the caller then shows it as plain text.
bool read(const QByteArray& rtf, QTextDocument* doc);

// Decodes bytes in Windows code page 1252 (used for hex escapes and plain text that is
// not UTF-8). The five unassigned bytes are dropped.
QString fromCp1252(const QByteArray& bytes);

} // namespace RtfReader
