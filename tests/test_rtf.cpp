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
#include <QTextCursor>
#include <QTextDocument>

namespace
{

QString readText(const QByteArray& rtf)
{
    QTextDocument doc;
    if (!RtfReader::read(rtf, &doc))
        return QStringLiteral("<not rtf>");
    // The raw text keeps non-breaking spaces; paragraphs are shown as line feeds.
    return doc.toRawText().replace(QChar::ParagraphSeparator, u'\n');
}

// The format of every character of the first occurrence of `needle`; fails the test when
// the needle is missing or its characters do not share one format.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& needle)
{
    const QTextCursor found = doc.find(needle, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull()) {
        qWarning() << "not found:" << needle << "in" << doc.toPlainText();
        return {};
    }
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(found.selectionStart() + 1);
    const QTextCharFormat first = c.charFormat();
    for (int pos = found.selectionStart() + 2; pos <= found.selectionEnd(); ++pos) {
        c.setPosition(pos);
        if (c.charFormat() != first) {
            qWarning() << "format changes inside" << needle << "at" << pos;
            return {};
        }
    }
    return first;
}

QTextBlockFormat blockOf(const QTextDocument& doc, const QString& needle)
{
    return doc.find(needle, 0, QTextDocument::FindCaseSensitively).block().blockFormat();
}

bool isBold(const QTextCharFormat& f)
{
    return f.fontWeight() == QFont::Bold;
}

} // namespace

class TestRtf : public QObject
{
    Q_OBJECT
  private slots:
    void characterFormats();
    void pardAndPlainReset();
    void paragraphsAlignmentAndIndents();
    void fontAndColourTables();
    void characters_data();
    void characters();
    void skippedDestinations_data();
    void skippedDestinations();
    void hostileInputs_data();
    void hostileInputs();
    void deepNestingKeepsStructure();
    void notRtfLeavesDocumentAlone();
    void viewerLoadsRtfAndPlainText();
    void viewerMissingFileIsEmpty();
    void viewerIsReadOnlyAndScrollsByKeyboard();
};

void TestRtf::characterFormats()
{
    QTextDocument doc;
    QVERIFY(RtfReader::read(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\n"
        "\\f0\\fs24 normal {\\b bold {\\i bolditalic} boldagain} \\ul under\\ulnone  notunder "
        "\\strike struck\\strike0  notstruck {\\f1\\fs40\\cf2 bigblue} \\b on\\b0  off "
        "\\i slanted\\i0  upright \\ul0 x\\ul lined\\ul0  plainend}",
        &doc));

    QCOMPARE(doc.toPlainText(), QStringLiteral("normal bold bolditalic boldagain under notunder "
                                               "struck notstruck bigblue on off slanted upright "
                                               "xlined plainend"));
    const QTextCharFormat normal = formatOf(doc, "normal");
    QVERIFY(!isBold(normal) && !normal.fontItalic() && !normal.fontUnderline());
    QCOMPARE(normal.fontPointSize(), 12.0);
    QCOMPARE(normal.fontFamilies().toStringList(), QStringList{"Arial"});
    QVERIFY(!normal.hasProperty(QTextFormat::ForegroundBrush)); // colour 0 is automatic

    QVERIFY(isBold(formatOf(doc, "bold ")) && !formatOf(doc, "bold ").fontItalic());
    QVERIFY(isBold(formatOf(doc, "bolditalic")) && formatOf(doc, "bolditalic").fontItalic());
    QVERIFY(isBold(formatOf(doc, "boldagain")) && !formatOf(doc, "boldagain").fontItalic());
    QVERIFY(!isBold(formatOf(doc, "under")));
    QVERIFY(formatOf(doc, "under").fontUnderline());
    QVERIFY(!formatOf(doc, "notunder").fontUnderline());
    QVERIFY(formatOf(doc, "struck").fontStrikeOut());
    QVERIFY(!formatOf(doc, "notstruck").fontStrikeOut());

    const QTextCharFormat big = formatOf(doc, "bigblue");
    QCOMPARE(big.fontPointSize(), 20.0);
    QCOMPARE(big.fontFamilies().toStringList(), QStringList{"Times New Roman"});
    QCOMPARE(big.foreground().color(), QColor(0, 0, 255));
    // The group's font, size and colour end with it.
    QCOMPARE(formatOf(doc, "on").fontPointSize(), 12.0);
    QVERIFY(!formatOf(doc, "on").hasProperty(QTextFormat::ForegroundBrush));

    QVERIFY(isBold(formatOf(doc, "on")));
    QVERIFY(!isBold(formatOf(doc, "off")));
    QVERIFY(formatOf(doc, "slanted").fontItalic());
    QVERIFY(!formatOf(doc, "upright").fontItalic());
    QVERIFY(formatOf(doc, "lined").fontUnderline());
    QVERIFY(!formatOf(doc, "plainend").fontUnderline());
}

void TestRtf::pardAndPlainReset()
{
    QTextDocument doc;
    QVERIFY(RtfReader::read("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Tahoma;}}\\deff0"
                            "{\\colortbl;\\red1\\green2\\blue3;}"
                            "\\f1\\b\\i\\ul\\strike\\fs48\\cf1\\qc\\li720 first\\par "
                            "second\\par\\pard\\plain third}",
                            &doc));
    QCOMPARE(doc.blockCount(), 3);
    const QTextCharFormat first = formatOf(doc, "first");
    QVERIFY(isBold(first) && first.fontItalic() && first.fontUnderline() && first.fontStrikeOut());
    QCOMPARE(first.fontPointSize(), 24.0);
    QCOMPARE(first.foreground().color(), QColor(1, 2, 3));
    QCOMPARE(first.fontFamilies().toStringList(), QStringList{"Tahoma"});
    // Properties carry over \par ...
    QCOMPARE(blockOf(doc, "second").alignment(), Qt::AlignHCenter);
    QVERIFY(isBold(formatOf(doc, "second")));
    // ... until \pard and \plain reset them (to the default font).
    const QTextCharFormat third = formatOf(doc, "third");
    QVERIFY(!isBold(third) && !third.fontItalic() && !third.fontUnderline() &&
            !third.fontStrikeOut());
    QCOMPARE(third.fontPointSize(), 12.0);
    QCOMPARE(third.fontFamilies().toStringList(), QStringList{"Arial"});
    QVERIFY(!third.hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(blockOf(doc, "third").alignment(), Qt::AlignLeft);
    QCOMPARE(blockOf(doc, "third").leftMargin(), 0.0);
}

void TestRtf::paragraphsAlignmentAndIndents()
{
    QTextDocument doc;
    QVERIFY(
        RtfReader::read("{\\rtf1\\pard\\ql left\\par\\pard\\qc centre\\par"
                        "\\pard\\qr right\\par\\pard\\qj justified\\par"
                        "\\pard\\li1440\\ri720\\fi-360\\sb150\\sa300 indented\\line broken\\tab "
                        "tabbed\\par\n\\pard last{\\qr right at the end}}",
                        &doc));
    QCOMPARE(doc.blockCount(), 6);
    QCOMPARE(blockOf(doc, "left").alignment(), Qt::AlignLeft);
    QCOMPARE(blockOf(doc, "centre").alignment(), Qt::AlignHCenter);
    QCOMPARE(blockOf(doc, "right").alignment(), Qt::AlignRight);
    QCOMPARE(blockOf(doc, "justified").alignment(), Qt::AlignJustify);

    const QTextBlockFormat indented = blockOf(doc, "indented");
    QCOMPARE(indented.leftMargin(), 96.0); // 1440 twips = one inch = 96 pixels
    QCOMPARE(indented.rightMargin(), 48.0);
    QCOMPARE(indented.textIndent(), -24.0);
    QCOMPARE(indented.topMargin(), 10.0);
    QCOMPARE(indented.bottomMargin(), 20.0);
    // \line breaks the line inside the paragraph; \tab is a tab character.
    QCOMPARE(doc.findBlockByNumber(4).text(),
             QStringLiteral("indented") + QChar(QChar::LineSeparator) + "broken\ttabbed");
    // A paragraph that ends with the document takes the properties of its last text.
    QCOMPARE(doc.lastBlock().text(), QStringLiteral("lastright at the end"));
    QCOMPARE(doc.lastBlock().blockFormat().alignment(), Qt::AlignRight);
}

void TestRtf::fontAndColourTables()
{
    QTextDocument doc;
    // A font table without inner groups, a font name with a hex escape and an alternative
    // name, and a colour table whose entry 0 is a real colour.
    QVERIFY(RtfReader::read(
        "{\\rtf1{\\fonttbl\\f0\\fnil\\fcharset0 Courier New;\\f1\\fswiss Caf\\'e9 Sans"
        "{\\*\\falt Other};\\f2{\\*\\panose 020b0604020202020204}Tahoma;}"
        "{\\colortbl\\red10\\green20\\blue30;;\\red0\\green128\\blue0;}"
        "\\f0 courier \\f1 cafe \\f2 tahoma \\f7 unknownfont \\cf2 green \\cf1 auto \\cf9 past "
        "\\cf0 zero}",
        &doc));
    QCOMPARE(formatOf(doc, "courier").fontFamilies().toStringList(), QStringList{"Courier New"});
    QCOMPARE(formatOf(doc, "cafe").fontFamilies().toStringList(),
             QStringList{QStringLiteral("Caf\u00e9 Sans")});
    QCOMPARE(formatOf(doc, "tahoma").fontFamilies().toStringList(), QStringList{"Tahoma"});
    QVERIFY(!formatOf(doc, "unknownfont").hasProperty(QTextFormat::FontFamilies));
    QCOMPARE(formatOf(doc, "green").foreground().color(), QColor(0, 128, 0));
    QVERIFY(!formatOf(doc, "auto").hasProperty(QTextFormat::ForegroundBrush));
    QVERIFY(!formatOf(doc, "past").hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(formatOf(doc, "zero").foreground().color(), QColor(10, 20, 30));
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
    QTest::newRow("escaped newline is par") << QByteArray("a\\\nb") << u"a\nb"_qs;
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
    QCOMPARE(readText("{\\rtf1\\ansi " + body + "}"), text);
}

void TestRtf::skippedDestinations_data()
{
    QTest::addColumn<QByteArray>("destination");
    QTest::addColumn<QString>("text");
    const QString plain = QStringLiteral("before after");

    QTest::newRow("info") << QByteArray("{\\info{\\title Title}{\\author Me}}") << plain;
    QTest::newRow("stylesheet") << QByteArray("{\\stylesheet{\\s0\\b Normal;}{\\s1 H;}}") << plain;
    QTest::newRow("pict") << QByteArray("{\\pict\\pngblip\\picw10 89504e470d0a}") << plain;
    QTest::newRow("star unknown") << QByteArray("{\\*\\generator Writer 1.0;}") << plain;
    QTest::newRow("star nested") << QByteArray("{\\*\\foo a{\\bar b{\\b c}\\par}d}") << plain;
    QTest::newRow("star known word") << QByteArray("{\\*\\b hidden}") << plain;
    QTest::newRow("unknown plain group shown")
        << QByteArray("{\\foo shown}") << u"before shownafter"_qs;
    QTest::newRow("field result shown")
        << QByteArray("{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}")
        << u"before linkafter"_qs;
    QTest::newRow("bin data") << QByteArray("{\\pict\\bin6 }}\\{{a}") << plain;
    QTest::newRow("bin in text") << QByteArray("\\bin3 xyz") << plain;
    QTest::newRow("header with text")
        << QByteArray("{\\header\\pard\\qc Page \\chpgn\\par}") << plain;
}

void TestRtf::skippedDestinations()
{
    QFETCH(QByteArray, destination);
    QFETCH(QString, text);
    QTextDocument doc;
    QVERIFY(RtfReader::read("{\\rtf1 before " + destination + "after}", &doc));
    QCOMPARE(doc.toPlainText(), text);
    // Nothing of the skipped group changed the formatting that follows it.
    QVERIFY(!isBold(formatOf(doc, "after")));
    QCOMPARE(doc.blockCount(), 1);
}

void TestRtf::hostileInputs_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("unclosed groups")
        << QByteArray("{\\rtf1 {\\b open {\\i more") << u"open more"_qs;
    QTest::newRow("extra closing braces") << QByteArray("{\\rtf1 a}}}} b{") << u"a"_qs;
    QTest::newRow("header only") << QByteArray("{\\rtf") << QString();
    QTest::newRow("ends in backslash") << QByteArray("{\\rtf1 a\\") << u"a"_qs;
    QTest::newRow("ends in hex") << QByteArray("{\\rtf1 a\\'e") << u"ae"_qs;
    QTest::newRow("ends in star") << QByteArray("{\\rtf1 a{\\*") << u"a"_qs;
    QTest::newRow("ends in bin") << QByteArray("{\\rtf1 a\\bin99999999999 xyz") << u"a"_qs;
    QTest::newRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 b}") << u"ab"_qs;
    QTest::newRow("huge parameters")
        << QByteArray("{\\rtf1\\fs999999999999999999999\\li-99999999999999\\sa99999999999"
                      "\\uc99999999999 \\u99999999999999 abc\\cf-7\\f99999999999\\u-99999999 x}")
        << u"\uFFFD"_qs;
    QTest::newRow("huge colour and font tables")
        << QByteArray("{\\rtf1{\\colortbl" + QByteArray(20000, ';') + "}{\\fonttbl" +
                      QByteArray("\\f1 ") + QByteArray(100000, 'n') + ";}\\f1\\cf19999 x}")
        << u"x"_qs;
    QTest::newRow("bold with huge parameter")
        << QByteArray("{\\rtf1\\b99999999999999999999 x}") << u"x"_qs;
}

void TestRtf::hostileInputs()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QTextDocument doc;
    QVERIFY(RtfReader::read(rtf, &doc));
    QCOMPARE(doc.toPlainText(), text);
    // The document is whole: laying it out does not trip over anything the reader made.
    QVERIFY(doc.documentLayout()->documentSize().height() >= 0);

    if (QByteArray(QTest::currentDataTag()) == "huge parameters") {
        QTextCursor c(&doc);
        c.setPosition(1);
        QCOMPARE(c.charFormat().fontPointSize(), 1638.0);
        QCOMPARE(doc.firstBlock().blockFormat().bottomMargin(), 2112.0);
        QCOMPARE(doc.firstBlock().blockFormat().leftMargin(), 0.0);
    }
}

void TestRtf::deepNestingKeepsStructure()
{
    // 100,000 nested groups: the text beyond the bound is dropped, the document around it
    // is read on as before.
    const int depth = 100000;
    QTextDocument doc;
    QVERIFY(RtfReader::read(
        "{\\rtf1 a" + QByteArray(depth, '{') + "\\b deep" + QByteArray(depth, '}') + "b}", &doc));
    QCOMPARE(doc.toPlainText(), u"ab"_qs);
    QVERIFY(!isBold(formatOf(doc, "b")));

    // Never closed at all.
    QVERIFY(RtfReader::read("{\\rtf1 a" + QByteArray(depth, '{') + "x", &doc));
    QCOMPARE(doc.toPlainText(), u"a"_qs);

    // Below the bound nesting works as usual, and every group's state is restored.
    QByteArray nested = "{\\rtf1 ";
    for (int i = 0; i < RtfReader::maxGroupDepth - 2; ++i)
        nested += i % 2 ? "{\\b0 " : "{\\b ";
    nested += "inner" + QByteArray(RtfReader::maxGroupDepth - 2, '}') + " outer}";
    QVERIFY(RtfReader::read(nested, &doc));
    QCOMPARE(doc.toPlainText(), u"inner outer"_qs);
    QVERIFY(!isBold(formatOf(doc, "inner")));
    QVERIFY(!isBold(formatOf(doc, "outer")));

    // Binary garbage after the header: whatever it is, the reader finishes.
    QRandomGenerator random(4711);
    for (int round = 0; round < 50; ++round) {
        QByteArray garbage = "{\\rtf1 ";
        for (int i = 0; i < 4000; ++i)
            garbage += char(random.bounded(256));
        QVERIFY(RtfReader::read(garbage, &doc));
        doc.documentLayout()->documentSize();
    }
}

void TestRtf::notRtfLeavesDocumentAlone()
{
    QTextDocument doc;
    doc.setPlainText("kept");
    QVERIFY(!RtfReader::read("Hello {\\rtf1 world}", &doc));
    QVERIFY(!RtfReader::read("", &doc));
    QVERIFY(!RtfReader::read("{\\rt", &doc));
    QVERIFY(!RtfReader::read("{\\RTF1 x}", &doc));
    QCOMPARE(doc.toPlainText(), u"kept"_qs);
    // Blanks and a byte order mark before the header are allowed.
    QVERIFY(RtfReader::read("\xEF\xBB\xBF \r\n{\\rtf1 x}", &doc));
    QCOMPARE(doc.toPlainText(), u"x"_qs);
}

void TestRtf::viewerLoadsRtfAndPlainText()
{
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& data) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    };
    write("hi.rtf", "{\\rtf1 Welcome {\\b couple}\\par second}");
    write("plain.rtf", "Just text\nwith {braces} and caf\xc3\xa9");
    write("latin.rtf", "caf\xe9 \x80");

    RichTextViewer viewer;
    QVERIFY(viewer.loadFile(dir.filePath("hi.rtf")));
    QCOMPARE(viewer.toPlainText(), u"Welcome couple\nsecond"_qs);
    QVERIFY(isBold(formatOf(*viewer.document(), "couple")));
    QVERIFY(!isBold(formatOf(*viewer.document(), "Welcome")));

    QVERIFY(viewer.loadFile(dir.filePath("plain.rtf")));
    QCOMPARE(viewer.toPlainText(), u"Just text\nwith {braces} and café"_qs);
    QVERIFY(viewer.loadFile(dir.filePath("latin.rtf")));
    QCOMPARE(viewer.toPlainText(), u"café €"_qs);
}

void TestRtf::viewerMissingFileIsEmpty()
{
    QTemporaryDir dir;
    RichTextViewer viewer;
    viewer.setPlainText("old");
    QVERIFY(!viewer.loadFile(dir.filePath("bye.rtf")));
    QVERIFY(viewer.document()->isEmpty());
    QVERIFY(!viewer.loadFile(dir.path())); // a folder is not a text either
    QVERIFY(viewer.document()->isEmpty());
}

void TestRtf::viewerIsReadOnlyAndScrollsByKeyboard()
{
    QTemporaryDir dir;
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 200; ++i)
        rtf += "Line " + QByteArray::number(i) +
               " {\\field{\\*\\fldinst HYPERLINK "
               "\"http://example.invalid\"}{\\fldrslt link}}\\par ";
    rtf += "}";
    QFile f(dir.filePath("song.rtf"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(rtf);
    f.close();

    QWidget page;
    auto* viewer = new RichTextViewer(&page);
    viewer->setObjectName("RichTextBox1"); // the page names it
    viewer->resize(300, 120);
    QVERIFY(viewer->loadFile(f.fileName()));
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    QVERIFY(viewer->isReadOnly());
    QVERIFY(!viewer->openLinks() && !viewer->openExternalLinks());
    QVERIFY(!viewer->accessibleName().isEmpty());
    QCOMPARE(viewer->lineWrapMode(), QTextEdit::WidgetWidth);

    viewer->setFocus();
    QTest::keyClicks(viewer, "typed");
    QTest::keyClick(viewer, Qt::Key_Delete);
    QVERIFY(viewer->toPlainText().startsWith("Line 0 link\nLine 1"));

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
