// The rich-text reader and the viewer the pages show their texts in.

#include "TestSupport.h"

#include "ui/RichTextViewer.h"
#include "ui/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace
{

// The document as paragraphs ("/" between them), each with its alignment and indents in
// pixels, then its runs of text, each after its format in braces: bold, italic, underline,
// strike, a size other than 12 points, the font family, the colour.
QString describe(const QTextDocument& doc)
{
    QStringList blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        QStringList para;
        const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
        if (a != Qt::AlignLeft)
            para << (a == Qt::AlignHCenter ? "c" : a == Qt::AlignRight ? "r" : "j");
        const double margins[] = {f.leftMargin(), f.rightMargin(), f.textIndent(), f.topMargin(),
                                  f.bottomMargin()};
        for (int i = 0; i < 5; ++i)
            if (margins[i] != 0)
                para << QString("li ri fi sb sa").split(' ')[i] + QString::number(margins[i]);
        QString text = para.isEmpty() ? QString() : "<" + para.join(' ') + ">";
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat c = it.fragment().charFormat();
            QStringList fl;
            const bool on[] = {c.fontWeight() == QFont::Bold, c.fontItalic(), c.fontUnderline(),
                               c.fontStrikeOut(), c.fontPointSize() != 12};
            for (int i = 0; i < 5; ++i)
                if (on[i])
                    fl << (i < 4 ? QString("bius")[i] : QString::number(c.fontPointSize()));
            if (c.hasProperty(QTextFormat::FontFamilies))
                fl << c.fontFamilies().toStringList().join(',');
            if (c.hasProperty(QTextFormat::ForegroundBrush))
                fl << c.foreground().color().name();
            text += "{" + fl.join(' ') + "}" + it.fragment().text();
        }
        blocks << text;
    }
    return blocks.join(" / ");
}

QString read(const QByteArray& rtf)
{
    QTextDocument doc;
    if (!RtfReader::read(rtf, &doc))
        return "<not rtf>";
    doc.documentLayout()->documentSize(); // laying out trips over nothing the reader made
    return describe(doc);
}

} // namespace

class TestRtf : public QObject
{
    Q_OBJECT
  private slots:
    void formats_data();
    void formats();
    void characters_data();
    void characters();
    void hostileInputs_data();
    void hostileInputs() { formats(); }
    void notRtfAndRandomBytes();
    void viewer();
};

void TestRtf::formats_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("described");

    QTest::newRow("groups and toggles")
        << QByteArray("{\\rtf1 a{\\b b{\\i c}b}\\b d\\b0 e\\ul f\\ulnone g\\ul h\\ul0 i"
                      "\\strike j\\strike0 k\\i l\\i0 m}")
        << "{}a{b}b{b i}c{b}bd{}e{u}f{}g{u}h{}i{s}j{}k{i}l{}m";
    QTest::newRow("group's font, size and colour end with it")
        << QByteArray(
               "{\\rtf1\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
               "{\\colortbl;\\red0\\green0\\blue255;}\\fs24 a{\\f1\\fs40\\cf1 b}c}")
        << "{Arial}a{20 Times New Roman #0000ff}b{Arial}c";
    QTest::newRow("par keeps, pard and plain reset")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Tahoma;}}\\deff0"
                      "{\\colortbl;\\red1\\green2\\blue3;}\\f1\\b\\i\\ul\\strike\\fs48\\cf1\\qc"
                      "\\li720 a\\par b\\par\\pard\\plain c}")
        << "<c li48>{b i u s 24 Tahoma #010203}a / <c li48>{b i u s 24 Tahoma #010203}b / {Arial}c";
    QTest::newRow("alignment, indents, line and tab")
        << QByteArray("{\\rtf1\\pard\\ql a\\par\\pard\\qc b\\par\\pard\\qr c\\par\\pard\\qj d\\par"
                      "\\pard\\li1440\\ri720\\fi-360\\sb150\\sa300 e\\line f\\tab g\\par\n"
                      "\\pard h{\\qr the last paragraph takes its last text's}}")
        << u"{}a / <c>{}b / <r>{}c / <j>{}d / <li96 ri48 fi-24 sb10 sa20>{}e\u2028f\tg / "
           "<r>{}hthe last paragraph takes its last text's"_qs;
    QTest::newRow("font table without groups, escapes, alternative names")
        << QByteArray(
               "{\\rtf1{\\fonttbl\\f0\\fnil\\fcharset0 Courier New;\\f1\\fswiss Caf\\'e9 Sans"
               "{\\*\\falt Other};\\f2{\\*\\panose 020b0604020202020204}Tahoma;}"
               "\\f0 a\\f1 b\\f2 c\\f7 d}")
        << u"{Courier New}a{Caf\u00e9 Sans}b{Tahoma}c{}d"_qs;
    QTest::newRow("colour table: 0 a colour, empty entry, past the end")
        << QByteArray("{\\rtf1{\\colortbl\\red10\\green20\\blue30;;\\red0\\green128\\blue0;}"
                      "\\cf2 e\\cf1 f\\cf9 g\\cf0 h}")
        << "{#008000}e{}fg{#0a141e}h";

    // Destinations skipped whole, changing nothing after them; results and plain groups shown.
    QTest::newRow("skipped destinations")
        << QByteArray("{\\rtf1 before {\\info{\\title Title}{\\author Me}}{\\stylesheet{\\s0\\b "
                      "Normal;}{\\s1 H;}}{\\pict\\pngblip\\picw10 89504e470d0a}{\\*\\generator W;}"
                      "{\\*\\foo a{\\bar b{\\b c}\\par}d}{\\*\\b hidden}{\\header\\pard\\qc Page "
                      "\\chpgn\\par}{\\pict\\bin6 }}\\{{a}\\bin3 xyzafter}")
        << "{}before after";
    QTest::newRow("shown groups")
        << QByteArray("{\\rtf1 a{\\foo b}{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt c}}d}")
        << "{}abcd";
}

void TestRtf::formats()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, described);
    QCOMPARE(read(rtf), described);
}

void TestRtf::characters_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");

    const std::pair<QByteArray, QString> rows[] = {
        {"caf\\'e9 \\'80 \\'93q\\'94 \\'E9 caf\xe9 a\\'81b", u"café € “q” é café ab"_qs},
        {"a\\'4 b\\'zz", u"a4 bzz"_qs},
        {"\\u-3913?\\u8364?x\\uc2\\u8364 xyz\\uc0\\u233 x", u"\uF0B7€x€zéx"_qs},
        {"\\u233\\'e9z\\u233\\bullet z{\\u233}x{\\uc0\\u233}\\u233?x", u"ézézéxééx"_qs},
        {"\\u-10179?\\u-8704?\\u-10179?x\\u64976?x", u"😀\uFFFDx\uFFFDx"_qs},
        {"\\{a\\}\\\\b a\\~b\\_c\\-d", u"{a}\\b a\u00A0b\u2011c\u00ADd"_qs},
        {"\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote", u"—–•‘’“”"_qs},
        {"\\b  two\\fs20x\\li-x\\PAR x", u" twox-xx"_qs},
        {"a\r\nb\n\\\nc", u"ab\u2029c"_qs},
        {QByteArray("a\x01\x1f"
                    "b\tc",
                    6),
         u"ab\tc"_qs},
        {"\\" + QByteArray(33, 'b') + " x", u"x"_qs}};
    for (const auto& [body, text] : rows)
        QTest::newRow(body.left(30).toPercentEncoding(" {}\\").constData()) << body << text;
}

void TestRtf::characters()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    QTextDocument doc;
    QVERIFY(RtfReader::read("{\\rtf1\\ansi " + body + "}", &doc));
    QCOMPARE(doc.toRawText(), text); // the raw text keeps non-breaking spaces
}

void TestRtf::hostileInputs_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("described");

    const QByteArray deep(100000, '{'), undeep(100000, '}');
    const std::pair<QByteArray, QString> rows[] = {
        {"{\\rtf1 {\\b open {\\i more", "{b}open {b i}more"}, // unclosed groups
        {"{\\rtf1 a}}}} b{", "{}a"},                          // extra closing braces
        {"{\\rtf", ""},                                       // header only
        {"{\\rtf1 a\\", "{}a"},                               // ends in backslash
        {"{\\rtf1 a\\'e", "{}ae"},                            // ends in hex
        {"{\\rtf1 a{\\*", "{}a"},                             // ends in star
        {"{\\rtf1 a\\bin99999999999 xyz", "{}a"},             // ends in bin
        {"{\\rtf1 a\\bin-5 b}", "{}ab"},                      // negative bin
        {"{\\rtf1\\fs999999999999999999999\\li-99999999999999\\sa99999999999\\uc99999999999 "
         "\\u99999999999999 abc\\cf-7\\f99999999999\\u-99999999 x}",
         u"<sa2112>{1638}\uFFFD"_qs}, // huge parameters saturate
        {"{\\rtf1{\\colortbl" + QByteArray(20000, ';') + "}{\\fonttbl\\f1 " +
             QByteArray(100000, 'n') + ";}\\f1\\cf19999 x}",
         "{" + QString(256, 'n') + "}x"}, // a font name is cut at 256 characters
        {"{\\rtf1\\b99999999999999999999 x}", "{b}x"},
        // Text nested deeper than the bound is dropped; the document around it reads on.
        {"{\\rtf1 a" + deep + "\\b deep" + undeep + "b}", "{}ab"},
        {"{\\rtf1 b" + deep + "x", "{}b"}};
    for (const auto& [rtf, described] : rows)
        QTest::newRow(rtf.left(30).toPercentEncoding(" {}\\").constData()) << rtf << described;
    QByteArray nested = "{\\rtf1 ";
    for (int i = 0; i < RtfReader::maxGroupDepth - 2; ++i)
        nested += i % 2 ? "{\\b0 " : "{\\b ";
    QTest::newRow("nesting below the bound")
        << nested + "inner" + QByteArray(RtfReader::maxGroupDepth - 2, '}') + " outer}"
        << "{}inner outer";
}

void TestRtf::notRtfAndRandomBytes()
{
    QTextDocument doc;
    doc.setPlainText("kept");
    for (const char* notRtf : {"Hello {\\rtf1 world}", "", "{\\rt", "{\\RTF1 x}"})
        QVERIFY2(!RtfReader::read(notRtf, &doc), notRtf);
    QCOMPARE(doc.toPlainText(), u"kept"_qs);
    // Blanks and a byte order mark before the header are allowed.
    QCOMPARE(read("\xEF\xBB\xBF \r\n{\\rtf1 x}"), "{}x");
    // Binary garbage after the header: whatever it is, the reader finishes.
    QRandomGenerator random(4711);
    for (int round = 0; round < 50; ++round) {
        QByteArray garbage = "{\\rtf1 ";
        for (int i = 0; i < 4000; ++i)
            garbage += char(random.bounded(256));
        QVERIFY(read(garbage) != "<not rtf>");
    }
}

void TestRtf::viewer()
{
    QTemporaryDir dir;
    QByteArray song = "{\\rtf1 Welcome {\\b couple}\\par ";
    for (int i = 0; i < 200; ++i)
        song += "Line {\\field{\\*\\fldinst HYPERLINK \"http://x.invalid\"}{\\fldrslt link}}\\par ";
    // Files that are not RTF are shown as plain text, UTF-8 or else code page 1252; a missing
    // file or a folder leaves the viewer empty.
    QWidget page;
    auto* viewer = new RichTextViewer(&page);
    const std::pair<QByteArray, QString> files[] = {
        {"Just text\nwith {braces} and caf\xc3\xa9", u"Just text\nwith {braces} and café"_qs},
        {"caf\xe9 \x80", u"café €"_qs},
        {"<missing>", ""},
        {"<folder>", ""},
        {song + "}", "<rtf>"}};
    for (const auto& [data, text] : files) {
        QFile f(dir.filePath("f.rtf"));
        if (data != "<missing>")
            QVERIFY(writeFile(f.fileName(), data));
        viewer->setPlainText("old");
        QCOMPARE(viewer->loadFile(data == "<folder>" ? dir.path() : f.fileName()), !text.isEmpty());
        if (text != "<rtf>")
            QCOMPARE(viewer->toPlainText(), text);
        f.remove();
    }
    // A long text: typing changes nothing, links do not open, the keys scroll.
    QVERIFY(describe(*viewer->document()).startsWith("{}Welcome {b}couple / {}Line link / "));
    viewer->resize(300, 120);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QVERIFY(!viewer->openLinks());
    QVERIFY(!viewer->openExternalLinks());
    viewer->setFocus();
    QTest::keyClicks(viewer, "typed");
    QTest::keyClick(viewer, Qt::Key_Delete);
    QVERIFY(viewer->toPlainText().startsWith("Welcome couple\nLine link\n"));
    QScrollBar* bar = viewer->verticalScrollBar();
    QTest::keyClick(viewer, Qt::Key_PageDown);
    const int afterPage = bar->value();
    QTest::keyClick(viewer, Qt::Key_Down);
    QCOMPARE_GT(afterPage, 0);
    QCOMPARE_GT(bar->value(), afterPage);
    QTest::keyClick(viewer, Qt::Key_PageUp);
    QTest::keyClick(viewer, Qt::Key_PageUp);
    QCOMPARE(bar->value(), 0);
}

QTEST_MAIN(TestRtf)
#include "test_rtf.moc"
