// libFuzzer target for the RTF reader: every input must be read without a crash, a
// sanitizer report or a hang, and the document it makes must lay out.
#include "ui/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The fonts of the layout need an application object; it lives for the whole run.
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument doc;
    // Also read every input as if it started like RTF, so that the fuzzer does not spend its
    // time rediscovering the header.
    if (!RtfReader::read(input, &doc))
        RtfReader::read("{\\rtf1 " + input, &doc);
    doc.documentLayout()->documentSize();
    (void)doc.toPlainText();
    return 0;
}
