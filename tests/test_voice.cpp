// The speech engine, the compressed form of recordings, and the name buttons of the dialogs.
#include "PageTest.h"
#include "TestSoundPort.h"
#include "TestSupport.h"
#include "plan/PlanDocument.h"
#include "plan/PlanExport.h"
#include "platform/PathMap.h"
#include "store/EventItems.h"
#include "store/SqlConnection.h"
#include "store/StoreSession.h"
#include "store/frmData.h"
#include "pages/frmBGInfo.h"
#include "pages/frmParty.h"
#include "sound/NameSpeaker.h"
#include "sound/SayItBox.h"
#include "voice/SpeechEngine.h"
#include "voice/VoiceCodec.h"
#include "wizard/WizardPage.h"
#include "wizard/WizardState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cmath>

// How a clip shows in a failed comparison.
char* toString(const PcmClip& clip)
{
    return QTest::toString(QStringLiteral("%1 samples at %2 Hz, peak %3")
                               .arg(clip.Samples.size())
                               .arg(clip.SampleRate)
                               .arg(clip.peak()));
}

char* toString(const NameVoice& voice)
{
    return QTest::toString(QStringLiteral("%1, %2 bytes, %3")
                               .arg(voice.Language)
                               .arg(voice.Recording.size())
                               .arg(voice.UseRecording ? "played" : "not played"));
}

namespace
{
// A voice-like test sound: a tone that swells and fades `seconds` long.
PcmClip tone(int rate, double seconds)
{
    PcmClip clip;
    clip.SampleRate = rate;
    for (int i = 0; i < int(rate * seconds); ++i) {
        const double s = double(i) / rate;
        clip.Samples.append(
            qint16(12000 * std::sin(2 * M_PI * 220 * s) * std::sin(M_PI * s / seconds)));
    }
    return clip;
}
// A dialog of the wizard with a name speaker on a test sound port.
template <class Dialog> struct WithSound {
    TestSoundPort* port = new TestSoundPort;
    NameSpeaker speaker{std::unique_ptr<SoundPort>(port)};
    WizardState state;
    std::unique_ptr<Dialog> dialog;
    WithSound()
    {
        state.Speaker = &speaker;
        dialog = std::make_unique<Dialog>(state, nullptr);
    }
    SayItBox* box(const QString& name) { return child<SayItBox>(dialog.get(), name); }
    void type(const QString& line, const QString& text)
    {
        child<QLineEdit>(dialog.get(), line)->setText(text);
    }
};
// The engine carries a little of one utterance's state into the next, so the same text said
// twice differs by a few samples: the same speech is the same rate and length within 20 ms.
void sameSpeech(const PcmClip& heard, const PcmClip& expected)
{
    QCOMPARE(heard.SampleRate, expected.SampleRate);
    QVERIFY2(std::abs(heard.durationMs() - expected.durationMs()) <= 20,
             qPrintable(QStringLiteral("%1 ms heard, %2 ms expected")
                            .arg(heard.durationMs())
                            .arg(expected.durationMs())));
}
} // namespace

class TestVoice : public QObject
{
    Q_OBJECT
  private slots:
    void speaksNames_data();
    void speaksNames();
    void languageFromLocale_data();
    void languageFromLocale();
    void recordingRoundTrip_data();
    void recordingRoundTrip();
    void refusesWhatCannotBeKept();
    void buttonsFollowTheSound_data();
    void buttonsFollowTheSound();
    void saysPronunciationElseName();
    void recordsKeepsAndPlaysBack_data();
    void recordsKeepsAndPlaysBack();
    void upgradeKeepsEveryAnswer();
    void voicesStayWithTheirNames();
    void planPlaysAndExportsRecordings();
};

void TestVoice::speaksNames_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "en-us";
    QTest::newRow("Spanish") << "es";
    QTest::newRow("Serbian") << "sr";
}

void TestVoice::speaksNames()
{
    QFETCH(QString, language);
    SpeechEngine engine;
    QVERIFY2(engine.isReady(), qPrintable(engine.error()));
    QString error;
    const auto clip = engine.speak(QStringLiteral("AH-nah SMITH"), language, &error);
    QVERIFY2(clip.has_value(), qPrintable(error));
    QCOMPARE(clip->SampleRate, 22050);
    // Two short words take about a second; spelt letter by letter they would take several.
    QVERIFY2(clip->audibleMs() >= 400, qPrintable(QString::number(clip->audibleMs())));
    QVERIFY2(clip->durationMs() <= 2500, qPrintable(QString::number(clip->durationMs())));
    QVERIFY2(clip->peak() >= 0.1, qPrintable(QString::number(clip->peak())));
}

void TestVoice::languageFromLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    QTest::newRow("language and region") << "en_US" << "en-us";
    QTest::newRow("language only") << "es_MX" << "es";
    QTest::newRow("a region of the language") << "vi_VN" << "vi";
    QTest::newRow("unknown language") << "xh_ZA" << "en";
}

void TestVoice::languageFromLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    const QList<SpeechVoice> voices{{"en", "English"},      {"en-us", "English (America)"},
                                    {"es", "Spanish"},       {"es-419", "Spanish (Latin America)"},
                                    {"vi-vn-x-central", "Vietnamese (Central)"}, {"vi", "Vietnamese"}};
    QCOMPARE(SpeechEngine::languageFor(QLocale(locale), voices), expected);
}

void TestVoice::recordingRoundTrip_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<double>("seconds");
    QTest::newRow("microphone, 48 kHz, a name") << 48000 << 1.5;
    QTest::newRow("speech engine, 22 kHz") << 22050 << 1.0;
    QTest::newRow("longest kept, 16 kHz") << 16000 << 10.0;
}

void TestVoice::recordingRoundTrip()
{
    QFETCH(int, rate);
    QFETCH(double, seconds);
    const PcmClip clip = tone(rate, seconds);
    QString error;
    const QByteArray bytes = VoiceCodec::encode(clip, &error);
    QVERIFY2(!bytes.isEmpty(), qPrintable(error));
    QVERIFY2(bytes.size() <= 100 * 1024, qPrintable(QString::number(bytes.size())));
    QCOMPARE(bytes.left(4), QByteArray("OggS"));
    const auto decoded = VoiceCodec::decode(bytes);
    QVERIFY(decoded.has_value());
    QCOMPARE(decoded->SampleRate, VoiceCodec::kDecodedRate);
    QCOMPARE(decoded->durationMs() / 20, clip.durationMs() / 20);
    QVERIFY2(decoded->peak() >= 0.25, qPrintable(QString::number(decoded->peak())));
}

void TestVoice::refusesWhatCannotBeKept()
{
    QString error;
    QCOMPARE(VoiceCodec::encode(tone(16000, 10.5), &error), QByteArray());
    QCOMPARE(error, QStringLiteral("The recording is longer than 10 seconds."));
    QCOMPARE(VoiceCodec::encode(PcmClip{}, &error), QByteArray());
    QCOMPARE(error, QStringLiteral("The recording is empty."));
    QCOMPARE(VoiceCodec::decode(QByteArray("OggS not really a stream")).has_value(), false);
}

void TestVoice::buttonsFollowTheSound_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("output");
    QTest::addColumn<bool>("microphone");
    QTest::addColumn<QString>("sayTip");
    QTest::addColumn<QString>("recordTip");
    const QString says = "Says the pronunciation (the name when it is empty)";
    const QString records = "Records the name in your own voice (at most 10 seconds)";
    QTest::newRow("member, all sound") << "sayItBox_0" << true << true << says << records;
    QTest::newRow("member, no output")
        << "sayItBox_0" << false << true << "No sound output here." << records;
    QTest::newRow("escort, no microphone")
        << "sayItBox_1" << true << false << says << "No microphone here.";
    QTest::newRow("escort, no sound")
        << "sayItBox_1" << false << false << "No sound output here." << "No microphone here.";
}

void TestVoice::buttonsFollowTheSound()
{
    QFETCH(QString, box);
    QFETCH(bool, output);
    QFETCH(bool, microphone);
    QFETCH(QString, sayTip);
    QFETCH(QString, recordTip);
    WithSound<frmParty> party;
    party.port->hasOutput = output;
    party.port->hasMicrophone = microphone;
    auto* sayIt = child<QPushButton>(party.box(box), "cmdSayIt");
    auto* record = child<QPushButton>(party.box(box), "cmdRecord");
    // Before anything is typed there is nothing to say.
    party.box(box)->setVoice({});
    QCOMPARE(sayIt->isEnabled(), false);
    party.type(box.endsWith('0') ? "txtName1" : "txtName2", "Ana");
    QCOMPARE(sayIt->isEnabled(), sayTip.startsWith("Says"));
    QCOMPARE(sayIt->toolTip(), sayTip);
    QCOMPARE(record->isEnabled(), recordTip.startsWith("Records"));
    QCOMPARE(record->toolTip(), recordTip);
}

void TestVoice::saysPronunciationElseName()
{
    WithSound<frmBGInfo> person;
    SpeechEngine engine;
    SayItBox* box = person.box("sayItBox");
    auto* language = child<QComboBox>(box, "cboVoice");
    person.type("txtName", "Anna Smith");
    language->setCurrentIndex(language->findData("en-us"));
    QTest::mouseClick(child<QPushButton>(box, "cmdSayIt"), Qt::LeftButton);
    person.type("txtPronounce", "AH-nah SMITH");
    language->setCurrentIndex(language->findData("es"));
    QTest::mouseClick(child<QPushButton>(box, "cmdSayIt"), Qt::LeftButton);
    QCOMPARE(person.port->played.size(), 2);
    sameSpeech(person.port->played.at(0), *engine.speak("Anna Smith", "en-us"));
    sameSpeech(person.port->played.at(1), *engine.speak("AH-nah SMITH", "es"));
    QCOMPARE(box->voice().Language, QStringLiteral("es"));
}

void TestVoice::recordsKeepsAndPlaysBack_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("time");
    QTest::newRow("a name, kept") << 1.5 << "cmdKeep" << "1.5 of 10 seconds";
    QTest::newRow("too long, ends by itself") << 12.0 << "cmdKeep" << "10.0 of 10 seconds";
    QTest::newRow("discarded") << 1.0 << "cmdDiscard" << "1.0 of 10 seconds";
}

void TestVoice::recordsKeepsAndPlaysBack()
{
    QFETCH(double, seconds);
    QFETCH(QString, answer);
    QFETCH(QString, time);
    WithSound<frmParty> party;
    party.type("txtName1", "Ana");
    SayItBox* box = party.box("sayItBox_0");
    QString shownTime;
    bool stillRecording = true;
    whenModal("frmRecord", [&](QWidget* dialog) {
        QTest::mouseClick(child<QPushButton>(dialog, "cmdStart"), Qt::LeftButton);
        party.port->feed(tone(16000, seconds));
        if (party.port->recording)
            QTest::mouseClick(child<QPushButton>(dialog, "cmdStop"), Qt::LeftButton);
        stillRecording = party.port->recording;
        shownTime = child<QLabel>(dialog, "lblTime")->text();
        QTest::mouseClick(child<QPushButton>(dialog, answer), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(box, "cmdRecord"), Qt::LeftButton);
    QCOMPARE(stillRecording, false);
    QCOMPARE(shownTime, time);
    const NameVoice voice = box->voice();
    QCOMPARE(voice.Recording.isEmpty(), answer == "cmdDiscard");
    QCOMPARE(!child<QCheckBox>(box, "chkOwnVoice")->isHidden(), answer == "cmdKeep");
    QTest::mouseClick(child<QPushButton>(box, "cmdSayIt"), Qt::LeftButton);
    // "Say It" plays the recording as kept, or the engine when there is none.
    const auto heard = voice.Recording.isEmpty() ? SpeechEngine().speak("ana", voice.Language)
                                                 : VoiceCodec::decode(voice.Recording);
    if (voice.Recording.isEmpty())
        sameSpeech(party.port->played.last(), *heard);
    else
        QCOMPARE(party.port->played.last(), *heard);
    // Deleted in an edit, the recording stays at Cancel and leaves the member at Save.
    for (const QString button : {"cmdCancel", "cmdOK"}) {
        whenModal("frmParty", [&](QWidget* dialog) {
            QTest::mouseClick(child<QPushButton>(box, "cmdDeleteRecording"), Qt::LeftButton);
            QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
        });
        const auto edited = party.dialog->edit({"Ana", "", "", "", "", "", voice, {}});
        QCOMPARE(edited.value_or(PartyMember{}).MemberVoice,
                 button == "cmdOK" ? NameVoice({voice.Language, {}, false}) : NameVoice());
    }
}

void TestVoice::upgradeKeepsEveryAnswer()
{
    TestRoot root;
    root.writeCatalogue();
    frmData maker;
    QVERIFY(maker.MakeZELdatabase(root.dbFolder(), 1));
    QVERIFY(PageTest::execEvent(
        {"INSERT INTO Strs (Item, Usage) VALUES ('BN', 'Anna'), ('BPCOUNT', ' 1')",
         "INSERT INTO Mems (Item, Usage) VALUES ('BA', 'Main St' || char(13, 10) || 'Town')",
         "INSERT INTO Activities (dtScheduled, Name, SongKey, SongTitle, SongArtist, Who, "
         "MoreInfo) VALUES (45000.75, 'First Dance', 7, 'Song', 'Artist', 'Couple', 'slow')",
         "INSERT INTO MusicIn (SongKey, SongTitle, SongArtist, SongTime) "
         "VALUES (-3, 'Ours', 'Band', '3:10')",
         "INSERT INTO MusicOut (SongKey, SongTitle, SongArtist, SongTime) "
         "VALUES (12, 'Not this', 'X', '2:00')"}));
    const QStringList tables{"Strs", "Mems", "Activities", "MusicIn", "MusicOut"};
    QList<QList<QStringList>> before;
    for (const QString& t : tables)
        before << storedRows("SELECT * FROM " + t);
    const QString file = PathMap::eventDatabase();
    const QString copy = file + ".format1";
    auto versionOf = [](const QString& path) {
        SqlConnection conn(path, SqlConnection::ReadOnly);
        QSqlQuery q(conn.database());
        return q.exec("PRAGMA user_version") && q.next() ? q.value(0).toInt() : -1;
    };

    // A reader takes the file as it is and leaves it so.
    QFile original(file);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    original.close();
    {
        StoreSession reader(file, QString(), StoreSession::ReadOnly);
        QVERIFY2(reader.isOpen(), qPrintable(reader.errorString()));
        QString error;
        const auto plan = EventPlan::read(reader, &error);
        QVERIFY2(plan.has_value(), qPrintable(error));
        QCOMPARE(plan->Bride.Name, QStringLiteral("Anna"));
    }
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll(), bytes);
    original.close();
    QCOMPARE(QFile::exists(copy), false);

    // The wizard keeps a copy of the old file, then upgrades it with every answer kept.
    {
        StoreSession wizard(file, QString(), StoreSession::ReadWrite);
        QVERIFY2(wizard.isOpen(), qPrintable(wizard.errorString()));
    }
    QCOMPARE(versionOf(file), 2);
    QCOMPARE(versionOf(copy), 1);
    for (qsizetype i = 0; i < tables.size(); ++i)
        QCOMPARE(storedRows("SELECT * FROM " + tables[i]), before[i]);
    QCOMPARE(storedRows("SELECT count(*) FROM NameVoices"), QList<QStringList>{{"0"}});
}

void TestVoice::voicesStayWithTheirNames()
{
    PageTest::Started s;
    const NameVoice a{"es", VoiceCodec::encode(tone(16000, 1.0)), true};
    const NameVoice b{"sr", VoiceCodec::encode(tone(16000, 2.0)), false};
    const NameVoice c{"vi", {}, true};
    QList<PartyMember> party{{"Ann", "Bridesmaid", "", "", "an", ""},
                             {"Bo", "Usher", "Cy", "Groomsman", "", "sy"},
                             {"Di", "Flower Girl", "", "", "", ""}};
    party[0].MemberVoice = a;
    party[1].EscortVoice = b;
    party[2].MemberVoice = c;
    QVERIFY(EventItems::saveParty(s.items(), party, nullptr));
    QVERIFY(s.w.store().voices().saveParty(party));

    // The second row removed on the page: its voices go with it, the third row's move up.
    QWidget* page = s.show(4);
    auto* list = child<QTreeWidget>(page, "lvListView");
    list->setCurrentItem(list->topLevelItem(1));
    PageTest::click(page, "cmdRemove");
    PageTest::click(page, "cmdNext");
    s.endRun();

    ZelWizard again;
    QVERIFY(again.start());
    QList<PartyMember> read = EventItems::readParty(again.store().items());
    QVERIFY(again.store().voices().readParty(read));
    QCOMPARE(read.size(), 2);
    QCOMPARE(read[0].MemberVoice, a);
    QCOMPARE(read[1].MemberVoice, c);
    QCOMPARE(read[1].EscortVoice, NameVoice{});

    // Rows in another order take their voices along; the couple keeps theirs by name.
    std::reverse(read.begin(), read.end());
    PersonRecord bride;
    bride.Name = "Anna";
    bride.Voice = b;
    QVERIFY(again.store().voices().saveParty(read));
    QVERIFY(again.store().voices().savePerson(bride, 'B'));
    QList<PartyMember> reordered = read;
    PersonRecord readBride;
    QVERIFY(again.store().voices().readParty(reordered));
    QVERIFY(again.store().voices().readPerson(readBride, 'B'));
    QCOMPARE(reordered[0].MemberVoice, c);
    QCOMPARE(reordered[1].MemberVoice, a);
    QCOMPARE(readBride.Voice, b);
}

void TestVoice::planPlaysAndExportsRecordings()
{
    EventPlan plan;
    plan.Bride.Name = "Anna Smith";
    plan.Bride.Voice = {"en-us", VoiceCodec::encode(tone(16000, 1.2)), true};
    plan.Groom.Name = "Bo";
    plan.Party = {{"Di", "Usher", "Cy/D:", "Groomsman", "", ""}};
    plan.Party[0].EscortVoice = {"sr", VoiceCodec::encode(tone(48000, 0.6)), false};

    const QList<PlanExport::RecordedName> names = PlanExport::recordedNames(plan);
    QCOMPARE(names.size(), 2);
    QCOMPARE(names[0].FileName, QStringLiteral("01 Anna Smith.opus"));
    QCOMPARE(names[1].FileName, QStringLiteral("02 Cy_D_.opus"));
    QCOMPARE(names[1].Recording, plan.Party[0].EscortVoice.Recording);

    // Each HTML file carries each recording (the run sheet the party's before the couple's),
    // decoding to the sound kept; the run sheet marks the bride twice, the escort, its legend.
    static const QRegularExpression audio("<audio [^>]*src=\"data:audio/ogg;codecs=opus;"
                                          "base64,([A-Za-z0-9+/=]+)\"");
    const PlanDocument sheet = PlanDocument::runSheet(plan, {});
    for (const auto& [html, expected] :
         {std::pair(PlanDocument(plan, {}, QString()).html(), QList<qint64>{1200, 600}),
          std::pair(sheet.html(), QList<qint64>{600, 1200})}) {
        QList<qint64> heard;
        for (auto m = audio.globalMatch(html); m.hasNext();)
            heard << VoiceCodec::decode(QByteArray::fromBase64(m.next().captured(1).toLatin1()))
                         .value_or(PcmClip{})
                         .durationMs();
        QCOMPARE(heard, expected);
    }
    for (const QString& text : {sheet.text(), sheet.textDocument()->toPlainText()})
        QCOMPARE(text.count(QChar(0x266B)), 4);
}

QTEST_MAIN(TestVoice)
#include "test_voice.moc"
