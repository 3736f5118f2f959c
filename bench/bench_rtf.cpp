// Loads a generated rich text of about 5 MB into a document and prints the median time of
// a few runs: reading alone, and reading followed by the layout a viewer would do.
#include "ui/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace
{

QByteArray generate(qsizetype targetBytes)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0"
                     "{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}"
                     "{\\f2\\fmodern Courier New;}}"
                     "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;"
                     "\\red0\\green0\\blue255;}"
                     "{\\*\\generator bench;}{\\info{\\title Bench}}\n";
    rtf.reserve(targetBytes + 4096);
    int paragraph = 0;
    while (rtf.size() < targetBytes) {
        const char* align[] = {"\\ql", "\\qc", "\\qr", "\\qj"};
        rtf += "\\pard";
        rtf += align[paragraph % 4];
        rtf += "\\sa120\\li" + QByteArray::number(paragraph % 3 * 360) + " ";
        for (int sentence = 0; sentence < 6; ++sentence) {
            rtf += "The reception starts at seven; the {\\b first dance} follows the "
                   "{\\i toast}, then {\\ul\\cf" +
                   QByteArray::number(sentence % 4) +
                   " the cake}. Caf\\'e9 au lait costs \\'80 3 \\emdash "
                   "{\\f1\\fs28 \\u8220?quoted\\u8221?} and {\\f2\\strike old} text\\tab "
                   "with an escaped \\{brace\\} and a\\~space.\\line ";
        }
        rtf += "End of paragraph " + QByteArray::number(paragraph) + ".\\par\n";
        ++paragraph;
    }
    rtf += "}";
    return rtf;
}

// CPU time of this thread, so that the figure means something on a busy machine too.
double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // --read-only leaves the layout out (for profiling the reader alone).
    const bool layout = !app.arguments().contains(QStringLiteral("--read-only"));

    const QByteArray rtf = generate(5 * 1024 * 1024);
    const int runs = 5;
    std::vector<double> readMs;
    std::vector<double> readCpuMs;
    std::vector<double> layoutMs;
    int blocks = 0;
    qsizetype characters = 0;
    for (int run = 0; run < runs; ++run) {
        QTextDocument doc;
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = cpuMs();
        RtfReader::read(rtf, &doc);
        readMs.push_back(timer.nsecsElapsed() / 1e6);
        readCpuMs.push_back(cpuMs() - cpuStart);
        if (layout) {
            doc.setTextWidth(800);
            doc.documentLayout()->documentSize();
        }
        layoutMs.push_back(timer.nsecsElapsed() / 1e6);
        blocks = doc.blockCount();
        characters = doc.characterCount();
    }
    std::printf("input %.2f MB, %d paragraphs, %lld characters\n", rtf.size() / 1048576.0, blocks,
                static_cast<long long>(characters));
    std::printf("read into document: median %.1f ms wall, %.1f ms CPU of %d runs\n", median(readMs),
                median(readCpuMs), runs);
    if (layout)
        std::printf("read and lay out at 800 px: median %.1f ms of %d runs\n", median(layoutMs),
                    runs);
    return 0;
}
