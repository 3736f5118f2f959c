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
        const std::pair<const char*, double> margins[] = {{"li", f.leftMargin()},
                                                          {"ri", f.rightMargin()},
                                                          {"fi", f.textIndent()},
                                                          {"sb", f.topMargin()},
                                                          {"sa", f.bottomMargin()}};
        for (const auto& [name, value] : margins)
            if (value != 0)
                para << name + QString::number(value);
        QString text = para.isEmpty() ? QString() : "<" + para.join(' ') + ">";
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat c = it.fragment().charFormat();
            QStringList fl;
            const std::pair<bool, const char*> flags[] = {{c.fontWeight() == QFont::Bold, "b"},
                                                          {c.fontItalic(), "i"},
                                                          {c.fontUnderline(), "u"},
                                                          {c.fontStrikeOut(), "s"}};
            for (const auto& [on, name] : flags)
                if (on)
                    fl << name;
            if (c.fontPointSize() != 12)
                fl << QString::number(c.fontPointSize());
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
        return QStringLiteral("<not rtf>");
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
    void hostileInputs();
    void randomBytes();
    void notRtfLeavesDocumentAlone();
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
    const QString plain = "{}before after";
    const std::pair<const char*, QString> skipped[] = {
        {"{\\info{\\title Title}{\\author Me}}", plain},
        {"{\\stylesheet{\\s0\\b Normal;}{\\s1 H;}}", plain},
        {"{\\pict\\pngblip\\picw10 89504e470d0a}", plain},
        {"{\\*\\generator Writer 1.0;}", plain},
        {"{\\*\\foo a{\\bar b{\\b c}\\par}d}", plain},
        {"{\\*\\b hidden}", plain},
        {"{\\header\\pard\\qc Page \\chpgn\\par}", plain},
        {"{\\pict\\bin6 }}\\{{a}", plain},
        {"\\bin3 xyz", plain},
        {"{\\foo shown}", "{}before shownafter"},
        {"{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}", "{}before linkafter"}};
    for (const auto& [group, described] : skipped)
        QTest::newRow(group) << "{\\rtf1 before " + QByteArray(group) + "after}" << described;
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

    QTest::newRow("cp1252 hex") << QByteArray("caf\\'e9 \\'80 \\'93q\\'94 \\'E9")
                                << u"café € “q” é"_qs;
    QTest::newRow("raw cp1252 byte") << QByteArray("caf\xe9") << u"café"_qs;
    QTest::newRow("unassigned byte dropped") << QByteArray("a\\'81b") << u"ab"_qs;
    QTest::newRow("truncated hex") << QByteArray("a\\'4 b\\'zz") << u"a4 bzz"_qs;
    QTest::newRow("unicode skips one") << QByteArray("\\u8364?x") << u"€x"_qs;
    QTest::newRow("uc2") << QByteArray("\\uc2\\u8364 xyz") << u"€z"_qs;
    QTest::newRow("uc0") << QByteArray("\\uc0\\u233 x") << u"éx"_qs;
    QTest::newRow("negative") << QByteArray("\\u-3913?") << QString(QChar(0xF0B7));
    QTest::newRow("fallback is hex escape") << QByteArray("\\u233\\'e9z") << u"éz"_qs;
    QTest::newRow("fallback is control word") << QByteArray("\\u233\\bullet z") << u"éz"_qs;
    QTest::newRow("group ends fallback") << QByteArray("{\\u233}x") << u"éx"_qs;
    QTest::newRow("uc scoped to group") << QByteArray("{\\uc0\\u233}\\u233?x") << u"ééx"_qs;
    QTest::newRow("surrogate pair") << QByteArray("\\u-10179?\\u-8704?") << u"😀"_qs;
    QTest::newRow("lone surrogate") << QByteArray("\\u-10179?x") << u"\uFFFDx"_qs;
    QTest::newRow("frame marker") << QByteArray("\\u64976?x") << u"\uFFFDx"_qs;
    QTest::newRow("escaped braces") << QByteArray("\\{a\\}\\\\b") << u"{a}\\b"_qs;
    QTest::newRow("nbsp and hyphen") << QByteArray("a\\~b\\_c\\-d") << u"a\u00A0b\u2011c\u00ADd"_qs;
    QTest::newRow("symbols") << QByteArray("\\emdash\\endash\\bullet\\lquote\\rquote"
                                           "\\ldblquote\\rdblquote")
                             << u"—–•‘’“”"_qs;
    QTest::newRow("delimiter space eaten") << QByteArray("\\b  two") << u" two"_qs;
    QTest::newRow("word ends at digit param") << QByteArray("\\fs20x") << u"x"_qs;
    QTest::newRow("minus without digits") << QByteArray("\\li-x") << u"-x"_qs;
    QTest::newRow("case sensitive") << QByteArray("\\PAR x") << u"x"_qs;
    QTest::newRow("newlines ignored") << QByteArray("a\r\nb\n") << u"ab"_qs;
    QTest::newRow("escaped newline is par") << QByteArray("a\\\nb") << u"a\u2029b"_qs;
    QTest::newRow("control bytes dropped") << QByteArray("a\x01\x1f"
                                                         "b\tc",
                                                         6)
                                           << u"ab\tc"_qs;
    QTest::newRow("overlong word ignored")
        << QByteArray("\\" + QByteArray(33, 'b') + " x") << u"x"_qs;
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

    const int deep = 100000;
    QTest::newRow("unclosed groups")
        << QByteArray("{\\rtf1 {\\b open {\\i more") << "{b}open {b i}more";
    QTest::newRow("extra closing braces") << QByteArray("{\\rtf1 a}}}} b{") << "{}a";
    QTest::newRow("header only") << QByteArray("{\\rtf") << "";
    QTest::newRow("ends in backslash") << QByteArray("{\\rtf1 a\\") << "{}a";
    QTest::newRow("ends in hex") << QByteArray("{\\rtf1 a\\'e") << "{}ae";
    QTest::newRow("ends in star") << QByteArray("{\\rtf1 a{\\*") << "{}a";
    QTest::newRow("ends in bin") << QByteArray("{\\rtf1 a\\bin99999999999 xyz") << "{}a";
    QTest::newRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 b}") << "{}ab";
    QTest::newRow("huge parameters saturate")
        << QByteArray("{\\rtf1\\fs999999999999999999999\\li-99999999999999\\sa99999999999"
                      "\\uc99999999999 \\u99999999999999 abc\\cf-7\\f99999999999\\u-99999999 x}")
        << u"<sa2112>{1638}\uFFFD"_qs;
    QTest::newRow("huge colour and font tables")
        << QByteArray("{\\rtf1{\\colortbl" + QByteArray(20000, ';') + "}{\\fonttbl" +
                      QByteArray("\\f1 ") + QByteArray(100000, 'n') + ";}\\f1\\cf19999 x}")
        << "{" + QString(256, 'n') + "}x"; // a font name is cut at 256 characters
    QTest::newRow("bold with huge parameter")
        << QByteArray("{\\rtf1\\b99999999999999999999 x}") << "{b}x";
    // Text nested deeper than the bound is dropped; the document around it reads on.
    QTest::newRow("deep nesting") << "{\\rtf1 a" + QByteArray(deep, '{') + "\\b deep" +
                                         QByteArray(deep, '}') + "b}"
                                  << "{}ab";
    QTest::newRow("deep nesting never closed") << "{\\rtf1 a" + QByteArray(deep, '{') + "x"
                                               << "{}a";
    QByteArray nested = "{\\rtf1 ";
    for (int i = 0; i < RtfReader::maxGroupDepth - 2; ++i)
        nested += i % 2 ? "{\\b0 " : "{\\b ";
    QTest::newRow("nesting below the bound")
        << nested + "inner" + QByteArray(RtfReader::maxGroupDepth - 2, '}') + " outer}"
        << "{}inner outer";
}

void TestRtf::hostileInputs()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, described);
    QCOMPARE(read(rtf), described);
}

void TestRtf::randomBytes()
{
    // Binary garbage after the header: whatever it is, the reader finishes.
    QRandomGenerator random(4711);
    for (int round = 0; round < 50; ++round) {
        QByteArray garbage = "{\\rtf1 ";
        for (int i = 0; i < 4000; ++i)
            garbage += char(random.bounded(256));
        QVERIFY(read(garbage) != "<not rtf>");
    }
}

void TestRtf::notRtfLeavesDocumentAlone()
{
    QTextDocument doc;
    doc.setPlainText("kept");
    for (const char* notRtf : {"Hello {\\rtf1 world}", "", "{\\rt", "{\\RTF1 x}"})
        QVERIFY2(!RtfReader::read(notRtf, &doc), notRtf);
    QCOMPARE(doc.toPlainText(), u"kept"_qs);
    // Blanks and a byte order mark before the header are allowed.
    QCOMPARE(read("\xEF\xBB\xBF \r\n{\\rtf1 x}"), "{}x");
}

void TestRtf::viewer()
{
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& data) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
    };
    QByteArray song = "{\\rtf1 Welcome {\\b couple}\\par ";
    for (int i = 0; i < 200; ++i)
        song += "Line {\\field{\\*\\fldinst HYPERLINK \"http://example.invalid\"}{\\fldrslt link}}"
                "\\par ";
    QVERIFY(write("song.rtf", song + "}"));
    QVERIFY(write("plain.rtf", "Just text\nwith {braces} and caf\xc3\xa9"));
    QVERIFY(write("latin.rtf", "caf\xe9 \x80"));

    // Files that are not RTF are shown as plain text, UTF-8 or else code page 1252.
    QWidget page;
    auto* viewer = new RichTextViewer(&page);
    QVERIFY(viewer->loadFile(dir.filePath("plain.rtf")));
    QCOMPARE(viewer->toPlainText(), u"Just text\nwith {braces} and café"_qs);
    QVERIFY(viewer->loadFile(dir.filePath("latin.rtf")));
    QCOMPARE(viewer->toPlainText(), u"café €"_qs);
    // A missing file or a folder leaves the viewer empty.
    QVERIFY(!viewer->loadFile(dir.filePath("bye.rtf")));
    QVERIFY(viewer->document()->isEmpty());
    viewer->setPlainText("old");
    QVERIFY(!viewer->loadFile(dir.path()));
    QVERIFY(viewer->document()->isEmpty());

    // A long text: typing changes nothing, links do not open, the keys scroll.
    QVERIFY(viewer->loadFile(dir.filePath("song.rtf")));
    QVERIFY(describe(*viewer->document()).startsWith("{}Welcome {b}couple / {}Line link / "));
    viewer->resize(300, 120);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QVERIFY(!viewer->openLinks() && !viewer->openExternalLinks());
    viewer->setFocus();
    QTest::keyClicks(viewer, "typed");
    QTest::keyClick(viewer, Qt::Key_Delete);
    QVERIFY(viewer->toPlainText().startsWith("Welcome couple\nLine link\n"));
    QScrollBar* bar = viewer->verticalScrollBar();
    QCOMPARE(bar->value(), 0);
    QTest::keyClick(viewer, Qt::Key_PageDown);
    const int afterPage = bar->value();
    QVERIFY(afterPage > 0);
    QTest::keyClick(viewer, Qt::Key_Down);
    QVERIFY(bar->value() > afterPage);
    QTest::keyClick(viewer, Qt::Key_PageUp);
    QTest::keyClick(viewer, Qt::Key_PageUp);
    QCOMPARE(bar->value(), 0);
}

QTEST_MAIN(TestRtf)
#include "test_rtf.moc"
