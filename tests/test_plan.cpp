// The plan of an event: its checks, its three forms read back as a reader would, the exports
// parsed back, the entertainer's tool on good and bad files, and the review from the finish
// page.
#include "TestSupport.h"

#include "TestSoundPort.h"
#include "app/ZelWizard.h"
#include "catalogue/CatalogueFormat.h"
#include "desk/DeskEventView.h"
#include "plan/PlanChecks.h"
#include "plan/PlanDocument.h"
#include "plan/PlanDiff.h"
#include "plan/PlanExport.h"
#include "plan/PlanFacts.h"
#include "plan/PlanFileName.h"
#include "platform/OleDate.h"
#include "platform/PathMap.h"
#include "store/EventCopy.h"
#include "store/EventIdentity.h"
#include "store/EventItems.h"
#include "store/EventSnapshot.h"
#include "store/StoreSession.h"
#include "store/frmData.h"
#include "pages/ScheduleModel.h"
#include "sound/NameSpeaker.h"
#include "ui/FolderView.h"
#include "wizard/PlanReview.h"
#include "wizard/WizardPage.h"
#include "voice/VoiceCodec.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QXmlStreamReader>

#include <libical/ical.h>

template <>
char* QTest::toString(const PlanDiff::Change& c)
{
    return QTest::toString(QString::number(c.page) + ": " + c.text);
}

namespace
{
PlanValue<QTime> at(int h, int m)
{
    return PlanValue<QTime>::given(QTime(h, m));
}
PlanValue<int> len(int m, int s)
{
    return PlanValue<int>::given(m * 60 + s);
}
const QDate kToday(2030, 1, 1);

// A fully answered event without a finding: every check stays quiet on it.
EventPlan fixture()
{
    EventPlan p;
    // clang-format off
    p.Bride = {true, "Zoë Marchetti", "29", "ZOH-ee mar-KET-ee", "12 Linden Lane\r\nSpringfield, IL 62704",
               "217-555-0142", "217-555-0199", "", "cell", "work", "other", "zoe@example.org"};
    p.Groom = {true, "Tobias Nwachukwu", "31", "toh-BY-us nwah-CHOO-koo", "88 Orchard Road",
               "", "", "217-555-0173", "work", "home", "pager", "tobias@example.net"};
    p.Facility = {"Grand Oak Pavilion", "400 Riverside Drive\r\nSpringfield, IL", "Marta Lindqvist",
                  "217-555-0110", "office", "Take exit 92B, left at the mill.\r\nPark behind the hall."};
    // clang-format on
    p.Times = {PlanValue<QDate>::given(QDate(2031, 6, 14)), at(18, 0), at(0, 45), at(16, 0)};
    p.Guests = PlanValue<QString>::given("120-130");
    p.Looks = p.Attitude = PlanValue<qint16>::given(2);
    p.GuidanceNotes = "No line dances, please.\r\nKeep the microphone from Uncle Ray.";
    p.Party = {{"Ingrid Halvorsen", "Maid of Honor", "Rafael Okonkwo", "Best Man",
                "ING-grid HAL-vor-sen", "rah-fah-EL oh-KONK-woh"},
               {"Priya Raghunathan", "Bridesmaid", "Declan Fenwick", "Groomsman",
                "PREE-yah rah-goo-NAH-tun", "DEK-lan FEN-ick"},
               {"Lucía Ferreira", "Flower Girl", "", "", "loo-SEE-ah feh-RAY-rah", ""}};
    p.Schedule = {
        {1, at(18, 0), "Grand Entrance", 101, "Signed, Sealed, Delivered", "Stevie Wonder",
         "Wedding party", "Announce in party order"},
        {2, at(0, 30), "Last Dance", -2, "Goodnight Sweetheart", "The Spaniels", "Everyone", ""},
        {3, at(19, 15), "First Dance", -3, "Our Song \"Live\"", "Cousin Theo", "Zoë & Tobias",
         "Music on USB; fade at 2:30"},
        {4, at(20, 0), "Toast; by the best man", std::nullopt, "", "", "Rafael Okonkwo", ""}};
    p.Music.Play[7] = p.Music.Play[9] = false;
    p.Music.Radio = {"WXRT 93.1", "KISS 103.5", ""};
    p.Include = {{101, "Signed, Sealed, Delivered", "Stevie Wonder", len(2, 41)},
                 {102, "At Last", "Etta James", len(3, 2)},
                 {-3, "Our Song \"Live\"", "Cousin Theo", len(4, 10)},
                 {-2, "Ständchen", "Gruppe Süd", len(3, 33)}};
    p.Exclude = {{201, "Macarena", "Los del Río", len(4, 12)},
                 {-2, "Chicken Dance", "Werner Thomas", len(2, 58)}};
    return p;
}

// One kind of change: what it does to the fixture, the page, and the sentence from the
// fixture to the changed event and back; [ ] stand for the isolates around the couple's texts.
struct DiffCase {
    const char* name;
    void (*change)(EventPlan&);
    int page;
    QString forward, backward;
};
const QString kPerfect = "\"[Perfect]\" by [Ed Sheeran]";
const DiffCase kDiffCases[] = {
    {"activity moved, its song changed", [](EventPlan& p) {
         p.Schedule[2].Time = at(19, 45);
         p.Schedule[2].SongTitle = "Perfect";
         p.Schedule[2].SongArtist = "Ed Sheeran"; }, 5,
     "[First Dance] moved from 7:15 PM to 7:45 PM; its song changed from \"[Our Song \"Live\"]\" by "
     "[Cousin Theo] to " + kPerfect,
     "[First Dance] moved from 7:45 PM to 7:15 PM; its song changed from " + kPerfect +
         " to \"[Our Song \"Live\"]\" by [Cousin Theo]"},
    {"activity renamed, matched by key", [](EventPlan& p) { p.Schedule[3].Name = "Toasts"; }, 5,
     "[Toast; by the best man] renamed to [Toasts]", "[Toasts] renamed to [Toast; by the best man]"},
    {"activities matched by name", [](EventPlan& p) {
         for (ScheduledActivity& a : p.Schedule)
             a.Key += 10;
         p.Schedule[1].Time = at(0, 40); }, 5,
     "[Last Dance] moved from 12:30 AM to 12:40 AM", "[Last Dance] moved from 12:40 AM to 12:30 AM"},
    {"activity added", [](EventPlan& p) {
         p.Schedule.append({9, at(21, 0), "Bouquet Toss", 5, "Perfect", "Ed Sheeran", "", ""}); }, 5,
     "[Bouquet Toss] added to the schedule at 9:00 PM with " + kPerfect,
     "[Bouquet Toss] removed from the schedule"},
    {"member added", [](EventPlan& p) {
         p.Party.append({"Erin Fox", "Bridesmaid", "", "", "", ""}); }, 4,
     "[Erin Fox] added to the bridal party as [Bridesmaid]", "[Erin Fox] removed from the bridal party"},
    {"member in Arabic", [](EventPlan& p) {
         p.Party.append({"فاطمة الزهراء", "Bridesmaid", "يوسف", "Usher", "", ""}); }, 4,
     "[فاطمة الزهراء] added to the bridal party as [Bridesmaid], escorted by [يوسف] ([Usher])",
     "[فاطمة الزهراء] removed from the bridal party"},
    {"member's role", [](EventPlan& p) { p.Party[2].Role = "Junior Bridesmaid"; }, 4,
     "[Lucía Ferreira]'s role changed from \"[Flower Girl]\" to \"[Junior Bridesmaid]\"",
     "[Lucía Ferreira]'s role changed from \"[Junior Bridesmaid]\" to \"[Flower Girl]\""},
    {"songs added", [](EventPlan& p) {
         p.Include.append({5, "Perfect", "Ed Sheeran", len(4, 23)});
         p.Include.append({-2, "Shout", "The Isley Brothers", len(4, 30)}); }, 7,
     "2 songs added to the must-play list: " + kPerfect + ", \"[Shout]\" by [The Isley Brothers]",
     "2 songs removed from the must-play list: " + kPerfect + ", \"[Shout]\" by [The Isley Brothers]"},
    {"a song twice, once removed", [](EventPlan& p) { p.Include.append(p.Include[1]); }, 7,
     "1 song added to the must-play list: \"[At Last]\" by [Etta James]",
     "1 song removed from the must-play list: \"[At Last]\" by [Etta James]"},
    {"song removed", [](EventPlan& p) { p.Exclude.removeFirst(); }, 8,
     "1 song removed from the do-not-play list: \"[Macarena]\" by [Los del Río]",
     "1 song added to the do-not-play list: \"[Macarena]\" by [Los del Río]"},
    {"song's length", [](EventPlan& p) { p.Include[1].Length = len(3, 12); }, 7,
     "The length of \"[At Last]\" by [Etta James] on the must-play list changed from 3:02 to 3:12",
     "The length of \"[At Last]\" by [Etta James] on the must-play list changed from 3:12 to 3:02"},
    {"music provided", [](EventPlan& p) { p.Exclude[1].Key = PlanSong::kMusicProvided; }, 8,
     "\"[Chicken Dance]\" by [Werner Thomas] on the do-not-play list is now music provided",
     "\"[Chicken Dance]\" by [Werner Thomas] on the do-not-play list is no longer music provided"},
    {"e-mail", [](EventPlan& p) { p.Bride.Email = "zoe@example.com"; }, 1,
     "The bride's e-mail changed from \"[zoe@example.org]\" to \"[zoe@example.com]\"",
     "The bride's e-mail changed from \"[zoe@example.com]\" to \"[zoe@example.org]\""},
    {"phone", [](EventPlan& p) { p.Bride.Phone3 = "217-555-0100"; }, 1,
     "The bride's third phone added: \"[217-555-0100 (other)]\"",
     "The bride's third phone removed (was \"[217-555-0100 (other)]\")"},
    {"date", [](EventPlan& p) { p.Times.Date.value = QDate(2031, 6, 21); }, 2,
     "The date changed from Saturday, June 14, 2031 to Saturday, June 21, 2031",
     "The date changed from Saturday, June 21, 2031 to Saturday, June 14, 2031"},
    {"place", [](EventPlan& p) { p.Facility.Contact.clear(); }, 2,
     "The reception's contact removed (was \"[Marta Lindqvist]\")",
     "The reception's contact added: \"[Marta Lindqvist]\""},
    {"dress", [](EventPlan& p) { p.Looks.value = 0; }, 3,
     "The entertainer's dress changed from Formal to Casual",
     "The entertainer's dress changed from Casual to Formal"},
    {"music", [](EventPlan& p) { p.Music.Play[7] = true; }, 6,
     "Hip Hop/Rap changed from avoid to play",
     "Hip Hop/Rap changed from play to avoid"},
    {"radio", [](EventPlan& p) { p.Music.Radio[2] = "WGN 720"; }, 6,
     "The third radio station's name added: \"[WGN 720]\"",
     "The third radio station's name removed (was \"[WGN 720]\")"},
};

// A sentence of the table with its [ ] as the isolates, or as `open` and `close`.
QString marked(QString text, const QString& open = "\u2068", const QString& close = "\u2069")
{
    return text.replace("[", open).replace("]", close);
}

// Every answer of the fixture as a reader finds it in the plan, in whatever form.
// clang-format off
const QStringList kAnswers{
    "Zoë Marchetti", "ZOH-ee mar-KET-ee", "12 Linden Lane", "Springfield, IL 62704",
    "217-555-0142 (cell)", "217-555-0199 (work)", "zoe@example.org", "Tobias Nwachukwu",
    "toh-BY-us nwah-CHOO-koo", "88 Orchard Road", "217-555-0173 (pager)", "tobias@example.net",
    "Saturday, June 14, 2031", "6:00 PM", "12:45 AM", "4:00 PM", "Grand Oak Pavilion",
    "400 Riverside Drive", "Marta Lindqvist", "217-555-0110 (office)", "Take exit 92B",
    "Park behind the hall.", "120-130", "Formal", "High Energy", "No line dances, please.",
    "Keep the microphone from Uncle Ray.", "Ingrid Halvorsen", "Maid of Honor", "Rafael Okonkwo",
    "Best Man", "ING-grid HAL-vor-sen", "rah-fah-EL oh-KONK-woh", "Priya Raghunathan",
    "Bridesmaid", "Declan Fenwick", "Groomsman", "DEK-lan FEN-ick", "Lucía Ferreira",
    "Flower Girl", "loo-SEE-ah feh-RAY-rah", "Grand Entrance", "Signed, Sealed, Delivered",
    "Stevie Wonder", "Wedding party", "Announce in party order", "Last Dance", "12:30 AM",
    "Goodnight Sweetheart", "First Dance", "7:15 PM", "Our Song \"Live\"", "Cousin Theo",
    "music provided", "Music on USB; fade at 2:30", "Toast; by the best man", "2:41", "3:02",
    "4:10", "Ständchen", "Gruppe Süd", "3:33", "Macarena", "Los del Río", "4:12", "Chicken Dance",
    "Werner Thomas", "2:58", "Total playing time: 13:26", "Hip Hop/Rap", "Jazz/Big Band",
    "WXRT 93.1", "KISS 103.5"};
// clang-format on

// The stored forms of a plan's values, as the pages write them.
QList<PickedSongRecord> stored(const QList<PlanSong>& songs)
{
    QList<PickedSongRecord> out;
    for (const PlanSong& s : songs)
        out.append({s.Key, s.Title, s.Artist, PlanFacts::lengthText(s.Length)});
    return out;
}

void writeEvent(StoreSession& s, const EventPlan& p)
{
    QString failure;
    const QDate day = p.Times.Date.value;
    const EventTimes times{OleDate::fromDateTime(day), OleDate::fromTime(p.Times.Start.value),
                           OleDate::fromTime(p.Times.End.value),
                           OleDate::fromTime(p.Times.Setup.value), true};
    for (const bool saved :
         {EventItems::savePerson(s.items(), p.Bride, 'B', &failure),
          EventItems::savePerson(s.items(), p.Groom, 'G', &failure),
          s.voices().savePerson(p.Bride, 'B'),
          EventItems::saveTimesAndPlace(s.items(), times, p.Facility, p.Guests.value, &failure),
          EventItems::saveGuidelines(s.items(), {p.Looks.value, p.Attitude.value, p.GuidanceNotes},
                                     &failure),
          EventItems::saveParty(s.items(), p.Party, &failure),
          EventItems::saveMusic(s.items(), p.Music, &failure),
          s.songLists().rewrite(SongListStore::Include, stored(p.Include)),
          s.songLists().rewrite(SongListStore::Exclude, stored(p.Exclude))})
        QVERIFY2(saved, qPrintable(failure));
    // An activity after midnight is stored on the next day, as the activity dialog does.
    for (const ScheduledActivity& a : p.Schedule)
        QVERIFY(s.schedule().insert(
            {OleDate::fromDateTime(day.addDays(a.Time.value.hour() < 12), a.Time.value), a.Name,
             a.SongKey, a.SongTitle, a.SongArtist, a.Who, a.MoreInfo}));
}

// `raw` then stores what no page would write.
QString eventFile(const TestRoot& root, const EventPlan& p = fixture(),
                  const std::function<void(StoreSession&)>& raw = {})
{
    frmData().MakeZELdatabase(root.dbFolder());
    root.writeCatalogue();
    StoreSession s(PathMap::eventDatabase(), PathMap::catalogue());
    writeEvent(s, p);
    if (raw)
        raw(s);
    return PathMap::eventDatabase();
}

struct Run {
    int status;
    QString out, err;
};
Run zelplan(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM"); // the tool needs no display of its own
    env.remove("DISPLAY");
    p.setProcessEnvironment(env);
    p.start(ZELPLAN, args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, "zelplan did not finish within a minute"};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Rows end in CRLF (an unterminated last row is lost); no field of these lists holds a line break.
QList<QStringList> parseCsv(const QByteArray& text)
{
    static const QRegularExpression field(R"re((?:^|,)(?:"((?:[^"]|"")*)"|([^,]*)))re");
    QStringList lines = QString::fromUtf8(text).split("\r\n");
    lines.removeLast();
    QList<QStringList> rows;
    for (const QString& line : lines) {
        rows.append(QStringList());
        for (const QRegularExpressionMatch& m : field.globalMatch(line))
            rows.last() << m.captured(1).replace("\"\"", "\"") + m.captured(2);
    }
    return rows;
}
} // namespace

class TestPlan : public QObject
{
    Q_OBJECT
  private slots:
    void checks();
    void planFormsHoldEveryAnswer();
    void exportsReadBack();
    void toolRefusesBadFiles_data();
    void toolRefusesBadFiles();
    void runSheetReadsAloud_data();
    void runSheetReadsAloud();
    void timelineOnPaper_data();
    void timelineOnPaper();
    void toolLeavesTheFolderAsFound_data();
    void toolLeavesTheFolderAsFound();
    void planWhileAPageIsSaved();
    void oversizedEventsMakeTheirPlans_data();
    void oversizedEventsMakeTheirPlans();
    void htmlPassesTheChecker();
    void isolatesAsBdi();
    void runningHeaderFits_data();
    void runningHeaderFits();
    void reviewFromTheFinishPage();
    void pdfName_data();
    void pdfName();
    void diff_data();
    void diff();
    void toolDiff();
    void deskViewChanges_data();
    void deskViewChanges();
    void deskViewSongsNamesAndExports();
    void sendFromTheFinishPage();
    void sameEvent_data();
    void sameEvent();
    void finalChanges_data();
    void finalChanges();
};

void TestPlan::checks()
{
    // Each check: a change that makes it fire (alone), a near miss that leaves it quiet.
    using M = std::function<void(EventPlan&)>;
    const int P = PlanFinding::Problem, A = PlanFinding::Advice;
    const struct {
        M fire, quiet;
        int severity, page;
        const char* says;
    } cases[] = {
    // clang-format off
#define F(...) [](EventPlan& p) { __VA_ARGS__; }
        {F(p.Exclude.append({-2, " at last", "ETTA JAMES", {}})),
         F(p.Exclude.append({-2, "At Last", "Beyoncé", {}})), P, 7, "\"At Last\" by Etta James is on both"},
        {F(p.Exclude.append({102, "At Last (Live)", "", {}})),
         F(p.Exclude.append({103, "At Last (Live)", "", {}})), P, 7, "is on both"},
        {F(p.Schedule[3].SongKey = 201; p.Schedule[3].SongTitle = "Macarena"),
         F(p.Schedule[3].SongKey = -2; p.Schedule[3].SongTitle = "Macarena!"),
         P, 5, "The song for \"Toast; by the best man\", \"Macarena\" by Los del Río"},
        {F(p.Include.append({-2, "Ständchen ", "gruppe süd", {}})),
         F(p.Include.append({-2, "Ständchen", "Gruppe Nord", {}})), A, 7, "is twice on your songs to play"},
        {F(p.Exclude.append(p.Exclude[0])),
         F(p.Exclude.append({202, "Macarena", "", {}})), A, 8, "twice on your songs not to play"},
        {F(p.Schedule[3].Time = at(17, 59)), F(p.Schedule[3].Time = at(18, 1)),
         P, 5, "at 5:59 PM is before the event starts (6:00 PM)"},
        {F(p.Schedule[1].Time = at(0, 46)), F(p.Schedule[1].Time = at(0, 45)),
         P, 5, "\"Last Dance\" at 12:46 AM is after the event ends (12:45 AM)"},
        {F(p.Schedule[3].Time = at(19, 15)), F(p.Schedule[3].Time = at(19, 16)),
         A, 5, "\"First Dance\" and \"Toast; by the best man\" are both at 7:15 PM"},
        {F(p.Schedule[3].Time = at(0, 30)), F(p.Schedule[3].Time = at(0, 29)), A, 5, "are both at 12:30 AM"},
        {F(p.Include.append({-2, "Mix", "", len(391, 35)})), F(p.Include.append({-2, "Mix", "", len(391, 34)})),
         A, 7, "last 6:45:01, longer than the 6:45:00"},
        {F(p.Party[2].EscortRole = "Ring Bearer"),
         F(p.Party[2].Escort = "Milo"; p.Party[2].EscortPronunciation = "MY-loh"), P, 4, "Lucía Ferreira has an escort's role"},
        {F(p.Bride.Phone1 = p.Bride.Phone2 = p.Bride.Email = p.Groom.Phone3 = p.Groom.Email = ""),
         F(p.Bride.Phone1 = p.Bride.Phone2 = p.Bride.Email = p.Groom.Email = ""), P, 1, "no phone number and no e-mail address"},
        {F(p.Times.Date.value = kToday.addDays(-1)),
         F(p.Times.Date.value = kToday), P, 2, "Monday, December 31, 2029, is in the past"},
        {F(p.Times.Date.state = PlanValue<QDate>::NotGiven), F(p.Times.Setup = at(12, 0)), P, 2, "The date of the event is not chosen yet."},
        {F(p.Times.Date.state = PlanValue<QDate>::Unreadable), F(p.Times.Setup.state = PlanValue<QTime>::Unreadable), P, 2, "The date of the event cannot be read"},
        {F(p.Times.Setup = at(18, 1)), F(p.Times.Setup = at(18, 0)), P, 2, "The setup time, 6:01 PM, is after the start (6:00 PM)."},
        {F(p.Bride.Pronunciation = " "), F(p.Bride.Age.clear()), A, 1, "the name of the bride, Zoë Marchetti"},
        {F(p.Party[1].EscortPronunciation.clear(); p.Party[2].Pronunciation.clear()),
         F(p.Party.append(PartyMember())), A, 4, "still without one: Declan Fenwick, Lucía Ferreira."},
    };
    // Problems come before advice, each in the order of the pages.
    const M allThree = F(p.Bride.Pronunciation.clear(); p.Exclude.append(p.Exclude[0]); p.Times.Date = {});
#undef F
    // clang-format on
    const auto findings = [](const M& change) {
        EventPlan plan = fixture();
        change(plan);
        return PlanChecks::run(plan, kToday);
    };
    for (const auto& c : cases) {
        QCOMPARE(findings(c.quiet), QList<PlanFinding>{});
        const QList<PlanFinding> found = findings(c.fire);
        QCOMPARE(found.size(), 1);
        QVERIFY2(found[0].text.contains(QString::fromUtf8(c.says)), c.says);
        QCOMPARE(QList<int>({int(found[0].severity), found[0].page}),
                 QList<int>({c.severity, c.page}));
        QCOMPARE(PlanChecks::hasProblem(found), c.severity == P);
    }
    const QList<PlanFinding> found = findings(allThree);
    QCOMPARE(found.size(), 3);
    QCOMPARE(QList<int>({found[0].page, found[1].page, found[2].page}), QList<int>({2, 1, 8}));
}

void TestPlan::planFormsHoldEveryAnswer()
{
    TestRoot root;
    root.copySampleMedia();
    const QString event = eventFile(root);
    const QByteArray before = fileBytes(event);
    for (const QString form : {"pdf", "html", "txt"}) {
        const QString out = root.path() + "/plan." + form;
        const Run run = zelplan({event, "-o", out, "--paper", "a4"});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        QString text;
        if (form == "pdf") {
            QProcess pdftotext;
            pdftotext.start("pdftotext", {"-raw", "-enc", "UTF-8", out, "-"});
            QVERIFY(pdftotext.waitForFinished(30000));
            // A reader copies "fi" where the font set its ligature.
            text = QString::fromUtf8(pdftotext.readAllStandardOutput())
                       .normalized(QString::NormalizationForm_KC);
            const QStringList pages = text.split('\f', Qt::SkipEmptyParts);
            QVERIFY(pages.size() >= 2);
            for (int i = 0; i < pages.size(); ++i) {
                QVERIFY(pages[i].contains(
                    "Zoë Marchetti & Tobias Nwachukwu - Saturday, June 14, 2031"));
                QVERIFY(pages[i].contains(QString("Page %1 of %2").arg(i + 1).arg(pages.size())));
            }
        } else if (form == "html") {
            QXmlStreamReader xml(fileBytes(out));
            int pictures = 0, drawings = 0;
            while (!xml.atEnd()) {
                if (xml.readNext() == QXmlStreamReader::Characters)
                    text += xml.text().toString() + ' ';
                if (xml.isStartElement() && xml.name() == QLatin1String("img"))
                    pictures += xml.attributes().value("src").startsWith(
                        QLatin1String("data:image/png;base64,"));
                drawings += xml.isStartElement() && xml.name() == QLatin1String("svg");
            }
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
            // The dress inside the file, the timeline drawn in it.
            QCOMPARE(QList<int>({pictures, drawings}), QList<int>({1, 1}));
        } else {
            text = QString::fromUtf8(fileBytes(out));
        }
        text = text.simplified();
        // The text form wraps a table's cells inside their columns: there, word by word.
        for (const QString& answer : kAnswers)
            for (const QString& part : form == "txt" ? answer.split(' ') : QStringList{answer})
                QVERIFY2(text.contains(part.simplified()), qPrintable(form + ": " + answer));
        // The sections in their order; the evening's order puts the last dance after midnight.
        qsizetype last = -1;
        for (const char* heading :
             {"Names and How to Say Them", "Contacts", "The Event", "The Entertainer",
              "The Bridal Party", "The Schedule", "Music", "Songs to Play", "Songs Not to Play"}) {
            last = text.indexOf(heading, last + 1, Qt::CaseInsensitive);
            QVERIFY2(last >= 0, heading);
        }
        QVERIFY(text.indexOf("Toast; by the best man") < text.indexOf("Last Dance"));
    }
    QCOMPARE(fileBytes(event), before);

    // The checks of a sound event pass; a past date is a problem the script sees.
    const Run sound = zelplan({event, "--checks"});
    QCOMPARE(QString::number(sound.status) + sound.out, QString("0No findings.\n"));
    EventPlan old = fixture();
    old.Times.Date.value = QDate(2001, 5, 5);
    TestRoot other;
    const Run run = zelplan({eventFile(other, old), "--checks"});
    QCOMPARE(
        QString::number(run.status) + run.out,
        QString("1Problem: The event date, Saturday, May 5, 2001, is in the past. [Your Event]\n"));
}

// The calendar as the calendar library reads it: per event "summary|start|end|zone", and
// how many time zones it describes.
QStringList calendarEvents(const QByteArray& ics, int* zones)
{
    icalcomponent* cal = icalparser_parse_string(ics.constData());
    QStringList events;
    *zones = cal ? icalcomponent_count_components(cal, ICAL_VTIMEZONE_COMPONENT) : -1;
    for (icalcomponent* e = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
        QStringList fields{QString::fromUtf8(icalcomponent_get_summary(e))};
        for (const icalproperty_kind kind : {ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY})
            fields << icalproperty_get_value_as_string(icalcomponent_get_first_property(e, kind));
        icalparameter* tz = icalproperty_get_first_parameter(
            icalcomponent_get_first_property(e, ICAL_DTSTART_PROPERTY), ICAL_TZID_PARAMETER);
        events << fields.join('|') + '|' + (tz ? icalparameter_get_tzid(tz) : "");
    }
    icalcomponent_free(cal);
    return events;
}

void TestPlan::exportsReadBack()
{
    TestRoot root;
    EventPlan plan = fixture();
    plan.Bride.Voice = {"it", "OggS new", true};
    const QString dir = root.path() + "/out/lists";
    const QByteArray zone = qgetenv("TZ");
    // An earlier export's names (one recording since deleted) beside files of the entertainer's.
    for (const char* old : {"01 Zoë Marchetti.opus", "02 Tobias Nwachukwu.opus", "mine.opus"})
        QVERIFY(writeFile(dir + "/names/" + old, "old"));
    qputenv("TZ", "America/Chicago"); // the computer's zone, as zelplan sees it
    QCOMPARE(zelplan({eventFile(root, plan), "--export", dir}).status, 0);
    qputenv("TZ", zone);
    QCOMPARE(QDir(dir + "/names").entryList(QDir::Files),
             QStringList({"01 Zoë Marchetti.opus", "mine.opus"}));
    QCOMPARE(fileBytes(dir + "/names/01 Zoë Marchetti.opus"), QByteArray("OggS new"));
    // A title or artist a spreadsheet would run as a formula stays text.
    QCOMPARE(parseCsv(PlanExport::csv({{-2, "=1+2", "@Band \"X\"", {}}}).mid(3)).value(1),
             (QStringList{"=\"=1+2\"", "=\"@Band \"\"X\"\"\"", "", "", "no"}));
    for (const auto& [name, songs] : {std::pair{QString("include"), plan.Include},
                                      std::pair{QString("exclude"), plan.Exclude}}) {
        // Marked as UTF-8; a spreadsheet evaluates each length to text.
        const QByteArray csv = fileBytes(dir + "/" + name + ".csv");
        QCOMPARE(csv.left(3), QByteArray("\xEF\xBB\xBF"));
        const QList<QStringList> rows = parseCsv(csv.mid(3));
        QCOMPARE(rows.value(0),
                 (QStringList{"Title", "Artist", "Length", "Catalogue key", "Music provided"}));
        QCOMPARE(rows.size(), songs.size() + 1);
        for (qsizetype i = 0; i < songs.size(); ++i) {
            const PlanSong& s = songs[i];
            QCOMPARE(rows[i + 1],
                     (QStringList{s.Title, s.Artist, "=\"" + PlanFacts::lengthText(s.Length) + '"',
                                  s.Key > 0 ? QString::number(s.Key) : "",
                                  s.Key == -3 ? "yes" : "no"}));
        }
        // Without a catalogue no song has a file: no entry, every song missing.
        QCOMPARE(fileBytes(dir + "/" + name + ".m3u8"), QByteArray("#EXTM3U\n"));
    }

    // The calendar: the reception, its setup, each activity until the next one (the last until
    // the end, past midnight on the next day), in the computer's zone with its rules.
    const QByteArray bytes = fileBytes(dir + "/schedule.ics");
    for (const QByteArray& line : bytes.split('\n'))
        QCOMPARE_LE(line.size(), 76); // folded lines
    int zones = 0;
    const QString tz = "|America/Chicago";
    QCOMPARE(calendarEvents(bytes, &zones),
             (QStringList{"Reception of Zoë Marchetti & Tobias Nwachukwu|"
                          "20310614T180000|20310615T004500" + tz,
                          "Setup for the reception of Zoë Marchetti & Tobias Nwachukwu|"
                          "20310614T160000|20310614T180000" + tz,
                          "Grand Entrance|20310614T180000|20310614T191500" + tz,
                          "First Dance|20310614T191500|20310614T200000" + tz,
                          "Toast; by the best man|20310614T200000|20310615T003000" + tz,
                          "Last Dance|20310615T003000|20310615T004500" + tz}));
    QCOMPARE(zones, 1);
    QVERIFY(bytes.contains("TZID:America/Chicago"));
    QVERIFY(bytes.contains("LOCATION:Grand Oak Pavilion"));
    // UIDs differ between events and stay from one export to the next.
    StoreSession readOnly(PathMap::eventDatabase(), QString(), StoreSession::ReadOnly);
    QByteArray again = PlanExport::ics(*EventPlan::read(readOnly, nullptr), QDateTime());
    const QRegularExpression uid("UID:[^\r]*");
    QSet<QString> uids;
    for (const QRegularExpressionMatch& m : uid.globalMatch(QString::fromUtf8(bytes))) {
        QVERIFY(again.contains(m.captured().toUtf8()));
        uids << m.captured();
    }
    QCOMPARE(uids.size(), 6);
    QVERIFY(bytes.contains("DESCRIPTION:Who: Zoë & Tobias\\nSong: \"Our Song \"Live\"\" by Cousin"));

    // Without activities, the reception and its setup; without a date, no event but a valid calendar.
    EventPlan bare;
    bare.Times = plan.Times;
    QCOMPARE(calendarEvents(PlanExport::ics(bare, QDateTime()), &zones).size(), 2);
    QCOMPARE(calendarEvents(PlanExport::ics(EventPlan(), QDateTime()), &zones), QStringList());
    QCOMPARE(zones, 1);
}

void TestPlan::toolRefusesBadFiles_data()
{
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"missing", "damaged", "foreign", "newer"})
        QTest::newRow(kind) << QString(kind);
}

void TestPlan::toolRefusesBadFiles()
{
    QFETCH(QString, kind);
    TestRoot root;
    const QString file = root.path() + "/event.mdb";
    if (kind == "damaged") {
        QVERIFY(writeFile(file, QByteArray("SQLite format 3\0", 16) + QByteArray(4000, '\x5a')));
    } else if (kind != "missing") {
        if (kind == "newer")
            QVERIFY(QFile::copy(eventFile(root), file));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "raw");
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(kind == "newer" ? "PRAGMA user_version = 99"
                                                       : "CREATE TABLE Other (x)"));
        }
        QSqlDatabase::removeDatabase("raw");
    }
    const QByteArray before = fileBytes(file);
    const Run run = zelplan({file, "--checks"});
    QCOMPARE(run.status, 2);
    QCOMPARE(run.out, QString());
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY2(run.err.startsWith("zelplan: "), qPrintable(run.err));
    for (const QString& part :
         QStringList{file, kind == "missing" ? "no such file" : "cannot be opened"})
        QVERIFY2(run.err.contains(part), qPrintable(run.err));
    QCOMPARE(fileBytes(file), before);
    QCOMPARE(QFile::exists(file), kind != "missing");
}

void TestPlan::pdfName_data()
{
    QTest::addColumn<bool>("dated");
    QTest::addColumn<QString>("bride");
    QTest::addColumn<QString>("groom");
    QTest::addColumn<QString>("name");
    QTest::newRow("all") << true << "Anna Smith" << " Benedikt  Jovanovic"
                         << "2031-06-14 Anna Smith & Benedikt Jovanovic.pdf";
    QTest::newRow("no date, one name") << false << "A/B: C" << "" << "A-B- C.pdf";
    QTest::newRow("nothing") << false << "" << "" << "Reception plan.pdf";
    QTest::newRow("too long") << false << QString(300, QChar(0x00e9)) << ""
                              << QString(100, QChar(0x00e9)) + ".pdf";
}

void TestPlan::pdfName()
{
    EventPlan plan = fixture();
    QFETCH(bool, dated);
    plan.Times.Date.state = dated ? PlanValue<QDate>::Given : PlanValue<QDate>::NotGiven;
    QFETCH(QString, bride);
    QFETCH(QString, groom);
    plan.Bride.Name = bride;
    plan.Groom.Name = groom;
    QTEST(PlanReview::pdfFileName(plan), "name");
}

void TestPlan::runSheetReadsAloud_data()
{
    QTest::addColumn<QString>("paper");
    for (const char* paper : {"letter", "a4"})
        QTest::newRow(paper) << QString(paper);
}

void TestPlan::runSheetReadsAloud()
{
    QFETCH(QString, paper);
    TestRoot root;
    const QString pdf = root.path() + "/sheet.pdf";
    QCOMPARE(zelplan({eventFile(root), "--run-sheet", "-o", pdf, "--paper", paper}).err, QString());
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"});
    QVERIFY(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QCOMPARE(text.count('\f'), 1);
    // Each line as the entertainer reads it: the schedule in the evening's order with the
    // time to the next activity, then the entrance in the party's order, the couple last.
    const QStringList lines = text.split('\n');
    const QStringList expected = {
        "6:00 PM 1 h 15 min Grand Entrance Wedding party \"Signed, Sealed, Delivered\" by",
        "7:15 PM 45 min First Dance Zoë & Tobias \"Our Song", "8:00 PM 4 h 30 min Toast;",
        "12:30 AM 15 min Last Dance Everyone \"Goodnight Sweetheart\"",
        "Ingrid Halvorsen (ING-grid HAL-vor-sen), Maid of Honor, escorted by Rafael Okonkwo "
        "(rah-fah-EL oh-KONK-woh), Best Man",
        "Priya Raghunathan (PREE-yah rah-goo-NAH-tun), Bridesmaid, escorted by Declan Fenwick "
        "(DEK-lan FEN-ick)",
        "Lucía Ferreira (loo-SEE-ah feh-RAY-rah), Flower Girl",
        "Zoë Marchetti (ZOH-ee mar-KET-ee), Bride, and Tobias Nwachukwu (toh-BY-us nwah-CHOO-koo)"};
    qsizetype row = 0;
    for (const QString& line : expected) {
        while (row < lines.size() && !lines[row].simplified().contains(line))
            ++row;
        QVERIFY2(row < lines.size(), qPrintable(line));
    }
    // A full evening (30 members, 40 activities, 50 songs on each list) on two pages.
    EventPlan big = fixture();
    for (int i = 0; i < 50; ++i) {
        const QString n = QString::number(i);
        if (i < 27)
            big.Party.append({"Member " + n, "Bridesmaid", "Escort " + n, "Groomsman", "MEM-ber", "ES-cort"});
        if (i < 36)
            big.Schedule.append({i, at(21, i), "Dancing " + n, 7, "Song " + n, "Artist", "Everyone", i % 5 ? "" : "Cue the lights."});
        big.Include.append({qint16(i + 300), "A song of some length " + n, "Its artist", len(3, i)});
        big.Exclude.append({qint16(i + 400), "Unwanted song " + n, "A band", len(4, 5)});
    }
    const PlanDocument sheet = PlanDocument::runSheet(big, PlanChecks::run(big, kToday, PlanChecks::ForEntertainer));
    QCOMPARE(sheet.pageCount(QPageSize(paper == "a4" ? QPageSize::A4 : QPageSize::Letter)), 2);
}

void TestPlan::timelineOnPaper_data()
{
    QTest::addColumn<QString>("paper");
    QTest::addColumn<int>("crowd"); // activities added, with 200-character names
    QTest::addColumn<QStringList>("labels");
    const QStringList four = {"1 Grand Entrance", "2 First Dance", "3 Toast; by the best man",
                              "4 Last Dance"};
    for (const char* paper : {"letter", "a4"}) {
        QTest::newRow(paper) << QString(paper) << 0 << four;
        // Two activities at one time share a label.
        QTest::addRow("%s, 50 activities", paper) << QString(paper) << 46
                                                  << QStringList{"1–2", "50 Last Dance"};
    }
}

// The timeline is drawn, not pictured: its labels are words inside the page, none over another.
void TestPlan::timelineOnPaper()
{
    QFETCH(QString, paper);
    QFETCH(int, crowd);
    QFETCH(QStringList, labels);
    TestRoot root;
    EventPlan plan = fixture();
    for (int i = 0; i < crowd; ++i)
        plan.Schedule.append({i + 5, at(18 + i / 9, i * 7 % 60),
                              QString("Crowd %1 ").arg(i) + QString(190, 'w'), {}, "", "", "", ""});
    const QString pdf = root.path() + "/plan.pdf";
    const QPageSize size(paper == "a4" ? QPageSize::A4 : QPageSize::Letter);
    QVERIFY(PlanDocument(plan, {}, {}).writePdf(pdf, size, nullptr));
    QCOMPARE(fileBytes(pdf).count("/Subtype /Image"), 0);
    QCOMPARE_LT(fileBytes(pdf).size(), 150000);
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", pdf, "-"});
    QVERIFY(pdftotext.waitForFinished(30000));
    QXmlStreamReader xml(pdftotext.readAllStandardOutput());
    QRectF page;
    QList<QPair<QRectF, QString>> words;
    QStringList text, outside, over;
    while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::Invalid) {
        const auto a = [&](const char* name) { return xml.attributes().value(name).toDouble(); };
        if (xml.isStartElement() && xml.name() == QLatin1String("page")) {
            page = QRectF(0, 0, a("width"), a("height"));
            words.clear();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("word")) {
            // Boxes a hair smaller: lines of a paragraph touch.
            const QRectF box = QRectF(QPointF(a("xMin"), a("yMin")), QPointF(a("xMax"), a("yMax")))
                                   .adjusted(0.3, 0.3, -0.3, -0.3);
            text << xml.readElementText();
            if (!page.contains(box))
                outside << text.last();
            for (const auto& [other, word] : words)
                if (other.intersects(box))
                    over << word + " / " + text.last();
            words.append({box, text.last()});
        }
    }
    QCOMPARE(outside.join(" "), QString());
    QCOMPARE(over.join("; "), QString());
    for (const QString& label : labels)
        QVERIFY2(text.join(' ').contains(label), qPrintable(label));
}

// Every file of a folder with its bytes.
QMap<QString, QByteArray> folderOf(const QString& path)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(path).entryList(QDir::Files | QDir::Hidden))
        files[name] = name.endsWith("-shm") ? QByteArray() : fileBytes(path + "/" + name);
    return files;
}

void TestPlan::toolLeavesTheFolderAsFound_data()
{
    QTest::addColumn<QString>("state");
    QTest::newRow("closed") << "closed";
    QTest::newRow("open in the wizard") << "open";
}

void TestPlan::toolLeavesTheFolderAsFound()
{
    QFETCH(QString, state);
    TestRoot root;
    const QString event = eventFile(root);
    std::unique_ptr<StoreSession> wizard;
    if (state == "open")
        wizard = std::make_unique<StoreSession>(event, PathMap::catalogue());
    const QMap<QString, QByteArray> before = folderOf(root.dbFolder());
    const Run run = zelplan({event, "-o", root.path() + "/plan.txt"});
    QCOMPARE(run.err, QString());
    QCOMPARE(folderOf(root.dbFolder()), before);
}

// While another program saves two versions of a page by turns, every plan holds one whole
// version: the plan of page A or of page B, never one that mixes the two saves.
void TestPlan::planWhileAPageIsSaved()
{
    TestRoot root;
    const QString event = eventFile(root);
    const QString plan = root.path() + "/plan.txt";
    QList<QByteArray> whole;
    for (const char* page : {"A", "B"}) {
        QCOMPARE(QProcess::execute(PAGE_SAVER, {event, page, "99999999"}), 0);
        QCOMPARE(zelplan({event, "-o", plan}).err, QString());
        whole << fileBytes(plan);
    }
    QProcess saver;
    saver.start(PAGE_SAVER, {event, "A", "loop"});
    QVERIFY(saver.waitForReadyRead(5000));
    QSet<qsizetype> seen;
    for (int run = 0; run < 30; ++run) {
        QCOMPARE(zelplan({event, "-o", plan}).err, QString());
        const qsizetype which = whole.indexOf(fileBytes(plan));
        QVERIFY2(which >= 0, "a plan of two saves");
        seen.insert(which);
    }
    saver.kill();
    saver.waitForFinished();
    QCOMPARE(seen.size(), 2);
}

using Raw = std::function<void(StoreSession&)>;
void TestPlan::oversizedEventsMakeTheirPlans_data()
{
    QTest::addColumn<Raw>("raw");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("pagesSay"); // what the pages and the review window say of it
    QTest::newRow("unbroken text of 1 MB")
        << Raw([](StoreSession& s) { s.items().SaveMemItem("DN", QString(1 << 20, 'x')); })
        << "xxxx" << "more characters not shown";
    QTest::newRow("10,000 activities at one time") << Raw([](StoreSession& s) {
        for (int i = 0; i < 10000; ++i)
            s.schedule().insert({OleDate::fromDateTime(QDate(2031, 6, 14), QTime(19, 0)),
                                 "Crowd " + QString::number(i), {}, "", "", "", ""});
    }) << "Crowd 9999" << "of these 10004 rows";
    QTest::newRow("a party count of 32767")
        << Raw([](StoreSession& s) { s.items().SaveStrItem("BPCOUNT", " 32767"); }) << "Lucía"
        << "Lucía";
    QTest::newRow("an empty event") << Raw() << "Date not chosen yet" << "Date not chosen yet";
}

void TestPlan::oversizedEventsMakeTheirPlans()
{
    QFETCH(Raw, raw);
    QFETCH(QString, says);
    TestRoot root;
    const QString event = raw ? eventFile(root, fixture(), raw) : PathMap::eventDatabase();
    if (!raw) {
        frmData().MakeZELdatabase(root.dbFolder());
        root.writeCatalogue();
    }
    // Each run is allowed far more than it needs; one that hangs fails.
    for (const QStringList& args :
         {QStringList{"-o", root.path() + "/plan.pdf"},
          QStringList{"--run-sheet", "-o", root.path() + "/sheet.pdf"},
          QStringList{"-o", root.path() + "/plan.html", "--export", root.path() + "/out"},
          QStringList{"-o", root.path() + "/plan.txt"},
          QStringList{"--run-sheet", "-o", root.path() + "/sheet.txt"}}) {
        const Run run = zelplan(QStringList{event} + args);
        QCOMPARE(QString::number(run.status) + run.err, QString("0"));
    }
    QFETCH(QString, pagesSay);
    QVERIFY(QString::fromUtf8(fileBytes(root.path() + "/plan.txt")).simplified().contains(says));
    // The text forms keep within 100 characters a line; the pages never print today's date.
    const QString today = QLocale::c().toString(QDate::currentDate(), "MMMM d, yyyy");
    for (const QString form : {"plan.txt", "sheet.txt", "plan.pdf", "sheet.pdf"}) {
        QString text = QString::fromUtf8(fileBytes(root.path() + "/" + form));
        if (form.endsWith("pdf")) {
            QProcess pdftotext;
            pdftotext.start("pdftotext", {"-enc", "UTF-8", root.path() + "/" + form, "-"});
            QVERIFY(pdftotext.waitForFinished(60000));
            text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        }
        QString longest;
        for (const QString& line : text.split('\n'))
            longest = form.endsWith("txt") && line.size() > qMax<qsizetype>(longest.size(), 100)
                          ? line : longest;
        QCOMPARE(longest, QString());
        QCOMPARE(text.contains(today), false);
        if (form == "plan.pdf")
            QVERIFY2(text.simplified().contains(pagesSay), qPrintable(pagesSay));
    }
    // The review window shows what the pages show.
    QString error;
    const std::optional<EventPlan> plan = EventSnapshot::read(event, &error);
    QVERIFY2(plan, qPrintable(error));
    const auto shown = PlanDocument(*plan, {}, QString()).textDocument();
    QVERIFY2(shown->toPlainText().simplified().contains(pagesSay), qPrintable(pagesSay));
}

// Only a whole isolate outside the head and holding no tag becomes a <bdi> element; a name
// is isolated whole.
void TestPlan::isolatesAsBdi()
{
    const QString o = QChar(0x2068), c = QChar(0x2069);
    const struct {
        QString html, bdi;
        qsizetype from;
    } cases[] = {
        {"a " + o + "Ana" + c + " & " + o + "عمر" + c, "a <bdi>Ana</bdi> & <bdi>عمر</bdi>", 0},
        {o + "a<b>x</b>" + c, o + "a<b>x</b>" + c, 0},
        {o + o + "Ana" + c, o + "<bdi>Ana</bdi>", 0},
        {"open " + o + "Ana", "open " + o + "Ana", 0},
        {"<title>" + o + "A" + c + "</title>" + o + "B" + c, "<title>" + o + "A" + c + "</title><bdi>B</bdi>", 16},
    };
    for (const auto& t : cases)
        QCOMPARE(PlanFacts::bdiMarkup(t.html, t.from), t.bdi);
    // A name's own direction controls cannot end its isolate.
    QCOMPARE(PlanFacts::isolated("Ana" + c + " \u202eBen"), o + "Ana Ben" + c);
}

// The HTML forms are valid HTML5 by the W3C checker, names set apart by direction.
void TestPlan::htmlPassesTheChecker()
{
    if (QStandardPaths::findExecutable("java").isEmpty() || !QFile::exists(VNU_JAR))
        QSKIP("The HTML checker needs java and " VNU_JAR ": scripts/bootstrap installs both");
    TestRoot root;
    EventPlan plan = fixture();
    plan.Bride.Name = "فاطمة الزهراء";
    plan.Groom.Name = "李明";
    const QString before = root.path() + "/before.mdb";
    QVERIFY(QFile::copy(eventFile(root), before));
    const QString event = eventFile(root, plan);
    const QStringList pages{root.path() + "/plan.html", root.path() + "/sheet.html",
                            root.path() + "/changes.html"};
    for (const QStringList& args : {QStringList{event, "-o", pages[0]},
                                    QStringList{event, "--run-sheet", "-o", pages[1]},
                                    QStringList{"--diff", before, event, "-o", pages[2]}})
        QCOMPARE(zelplan(args).err, QString());
    QVERIFY(QString::fromUtf8(fileBytes(pages[1])).contains("<bdi>李明</bdi> (toh-BY-us"));
    QProcess vnu;
    vnu.start("java", QStringList{"-jar", VNU_JAR, "--Werror", "--filterpattern",
                                  ".*Trailing slash on void elements.*"} + pages);
    QVERIFY(vnu.waitForFinished(120000));
    QCOMPARE(QString::fromUtf8(vnu.readAllStandardError()), QString());
    QCOMPARE(vnu.exitCode(), 0);
}

void TestPlan::runningHeaderFits_data()
{
    QTest::addColumn<QString>("bride");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("header");
    const QString date = " - Saturday, June 14, 2031";
    QTest::newRow("fits") << "Zoë Marchetti" << 80 << "⁨Zoë Marchetti⁩ & ⁨Tobias Nwachukwu⁩" + date;
    QTest::newRow("the groom gives way") << "Zoë Marchetti" << 50 << "⁨Zoë Marchetti⁩ & ⁨Tobias…⁩" + date;
    QTest::newRow("a long name") << "Zoë " + QString(80, 'M') << 50 << "⁨Zoë MMMMMMMMMMMMMMMMMMM…⁩" + date;
}

void TestPlan::runningHeaderFits()
{
    QFETCH(QString, bride);
    QFETCH(int, width);
    QFETCH(QString, header);
    EventPlan plan = fixture();
    plan.Bride.Name = bride;
    const QFontMetricsF metrics(QFont("DejaVu Sans Mono", 10));
    const PlanDocument document(plan, {}, QString());
    QCOMPARE(document.runningHeader(metrics, width * metrics.horizontalAdvance('M')), header);
}

void TestPlan::reviewFromTheFinishPage()
{
    TestRoot root;
    root.writeCatalogue();
    ZelWizard w;
    QVERIFY(startWithoutLoader(w));
    EventPlan plan = fixture();
    plan.Bride.Pronunciation.clear();
    writeEvent(w.store(), plan);
    WizardPage* final = w.page(9);
    w.loadedPage(0)->hide();
    final->show();

    const QString pdf = root.path() + "/Reception plan.pdf";
    bool reviewed = false;
    whenModal("PlanReview", [&](QWidget* review) {
        QVERIFY(child<QLabel>(review, "lblFinding_0")->text().contains("Zoë Marchetti"));
        const QString shown = child<QTextBrowser>(review, "txtPlan")->toPlainText();
        QVERIFY(!shown.contains("ZOH-ee"));
        QVERIFY(shown.contains("toh-BY-us nwah-CHOO-koo"));
        // Its full-width tables never make the plan scroll sideways by a rounded pixel.
        auto* browser = child<QTextBrowser>(review, "txtPlan");
        QList<int> sideways;
        for (int width = 800; width < 840; ++width) {
            review->resize(width, 720);
            QCoreApplication::processEvents();
            if (browser->horizontalScrollBar()->maximum() > 0)
                sideways << width;
        }
        QCOMPARE(sideways, QList<int>());
        // The timeline is drawn in the window: its band shows when scrolled to it.
        QTextCursor at = browser->document()->find(QString(QChar::ObjectReplacementCharacter));
        at.clearSelection();
        browser->setTextCursor(at);
        const QImage seen =
            browser->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(seen.constBits());
        QCOMPARE_GT(std::count(pixels, pixels + seen.width() * seen.height(), qRgb(0xdc, 0xe6, 0xf0)), 100);
        whenModal("dlgSavePdf", [&](QWidget* d) {
            auto* files = static_cast<QFileDialog*>(d);
            // A name from the date and the couple, in the documents (or home) folder.
            const QFileInfo proposed(files->selectedFiles().value(0));
            QCOMPARE(proposed.fileName(), QString("2031-06-14 Zoë Marchetti & Tobias Nwachukwu.pdf"));
            const QStringList folders =
                QStandardPaths::standardLocations(QStandardPaths::DocumentsLocation) << QDir::homePath();
            QVERIFY2(folders.contains(proposed.path()), qPrintable(proposed.path()));
            files->selectNameFilter("PDF, A4 (*.pdf)");
            files->selectFile(pdf);
            QMetaObject::invokeMethod(files, "accept");
        });
        child<QPushButton>(review, "cmdSavePdf")->click();
        whenModal("dlgSavePdf", [&](QWidget* d) {
            static_cast<QFileDialog*>(d)->selectFile(root.path() + "/Run sheet.pdf");
            QMetaObject::invokeMethod(d, "accept");
        });
        child<QPushButton>(review, "cmdRunSheet")->click();
        whenModal("dlgPrint", [](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
        child<QPushButton>(review, "cmdPrint")->click();
        reviewed = true;
        child<QPushButton>(review, "cmdGoTo_0")->click();
    });
    child<QPushButton>(final, "cmdReview")->click();
    QVERIFY(reviewed);
    QVERIFY(fileBytes(pdf).startsWith("%PDF"));
    QVERIFY(fileBytes(root.path() + "/Run sheet.pdf").startsWith("%PDF"));
    // Where the plan and the run sheet were saved.
    QCOMPARE(root.messages.size(), 2);
    QCOMPARE(root.messages[0].text, "Your plan was saved as\n\n" + QDir::toNativeSeparators(pdf));
    QCOMPARE(root.messages[1].text, "The run sheet was saved as\n\n" +
                                        QDir::toNativeSeparators(root.path() + "/Run sheet.pdf"));
    // The couple is on the page that mends the finding, the finish page handed over, the
    // keyboard on the bride's button.
    WizardPage* menu2 = visiblePage(w);
    QCOMPARE(menu2->objectName(), QString("Menu2"));
    QCOMPARE(menu2->focusWidget()->objectName(), QString("cmdBride"));
    QVERIFY(!root.programEnded());

    // Back to Review (Enter on it) saves the page and opens the review again; a schedule
    // finding's Go to puts the keyboard on its activity.
    QVERIFY(w.store().schedule().insert({OleDate::fromDateTime(QDate(2031, 6, 14), QTime(15, 0)), "Early Bird", {}, "", "", "", ""}));
    whenModal("PlanReview", [&](QWidget* review) {
        for (QPushButton* go : review->findChildren<QPushButton*>())
            if (go->text() == "Go to Event Schedule")
                return go->click();
    });
    auto* back = child<QPushButton>(menu2, "cmdBackToReview");
    back->setFocus();
    QTest::keyClick(back, Qt::Key_Return);
    QVERIFY(waitUntil([&] { return visiblePage(w) == w.loadedPage(5); }));
    auto* grid = child<QTableView>(w.loadedPage(5), "dbgEvents");
    QCOMPARE(grid->currentIndex().siblingAtColumn(ScheduleModel::Name).data().toString(),
             QString("Early Bird"));
    QCOMPARE(w.loadedPage(5)->focusWidget(), grid);
    QCOMPARE(back->isVisible(), false);
    QCOMPARE(child<QPushButton>(w.loadedPage(5), "cmdBackToReview")->isVisible(), true);
}


void TestPlan::diff_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kDiffCases)); ++i)
        QTest::newRow(kDiffCases[i].name) << i;
}

void TestPlan::diff()
{
    QFETCH(int, index);
    const DiffCase& c = kDiffCases[index];
    const EventPlan before = fixture();
    EventPlan after = before;
    c.change(after);
    for (const auto& [from, to, text] :
         {std::tuple(before, after, marked(c.forward)), std::tuple(after, before, marked(c.backward))}) {
        const PlanDiff diff(from, to);
        QCOMPARE(diff.changes(), (QList<PlanDiff::Change>{{c.page, text}}));
        QCOMPARE(diff.text(), PlanChecks::pageName(c.page) + "\n  " + text + "\n");
    }
    QVERIFY(PlanDiff(after, after).isEmpty());
}

// The tool: no change exits 0, a change 1 (printed, or written as a well-formed page with the
// names in <bdi>), a bad file 2 with one line.
void TestPlan::toolDiff()
{
    TestRoot root;
    const QString before = root.path() + "/before.mdb";
    QVERIFY(QFile::copy(eventFile(root), before));
    EventPlan changed = fixture();
    kDiffCases[5].change(changed);
    const QString after = eventFile(root, changed);
    const QString page = root.path() + "/changes.html";
    struct Row {
        QStringList args;
        int status;
        QString out;
    };
    for (const Row& row :
         {Row{{"--diff", before, before}, 0, "No changes.\n"},
          Row{{"--diff", before, after}, 1, "Bridal Party\n  " + marked(kDiffCases[5].forward) + "\n"},
          Row{{"--diff", before, after, "-o", page}, 1, ""},
          Row{{"--diff", before, root.path() + "/none.mdb"}, 2, ""}}) {
        const Run run = zelplan(row.args);
        QCOMPARE(run.status, row.status);
        QCOMPARE(run.out, row.out);
        QCOMPARE(run.err.count('\n'), int(row.status == 2));
    }
    const QString html = QString::fromUtf8(fileBytes(page));
    QXmlStreamReader xml(html);
    while (!xml.atEnd())
        xml.readNext();
    QCOMPARE(xml.error(), QXmlStreamReader::NoError);
    QStringList items;
    for (const QRegularExpressionMatch& m : QRegularExpression("<li>(.*)</li>").globalMatch(html))
        items << m.captured(1);
    QCOMPARE(items, QStringList{marked(kDiffCases[5].forward, "<bdi>", "</bdi>")});
}

// The desk's "What changed" of an event against no earlier version, the same one, another.
void TestPlan::deskViewChanges_data()
{
    // Of kDiffCases; -1: the same event, -2: no earlier file, -3: a damaged one.
    QTest::addColumn<int>("change");
    QTest::addColumn<QString>("shown");
    QTest::newRow("first version") << -2 << "This is the first version of this event: there "
                                            "is no earlier one to compare it with.";
    QTest::newRow("nothing changed") << -1 << "Nothing changed since the earlier version.";
    QTest::newRow("earlier damaged") << -3 << "The earlier version of this event cannot be read."
                                             "\nThe event database %1 cannot be opened: the file "
                                             "is damaged or is not a database.";
    QTest::newRow("member in Arabic") << 5 << "What Changed\nBridal Party\n" + marked(kDiffCases[5].forward);
}

void TestPlan::deskViewChanges()
{
    QFETCH(int, change);
    QFETCH(QString, shown);
    TestRoot root;
    const QString earlier = root.path() + "/earlier.mdb";
    QVERIFY(change == -3 ? writeFile(earlier, "damaged") : QFile::copy(eventFile(root), earlier));
    EventPlan plan = fixture();
    if (change >= 0)
        kDiffCases[change].change(plan);
    const DeskEventView view(eventFile(root, plan), change == -2 ? QString() : earlier, QString());
    QCOMPARE(child<QTextBrowser>(&view, "txtChanges")->toPlainText().trimmed(),
             shown.replace("%1", earlier));
}

// The songs with the library's files, the names said (the bride's in her own voice, the
// groom's by the engine), the run sheet saved and the playlists exported.
void TestPlan::deskViewSongsNamesAndExports()
{
    TestRoot root;
    EventPlan plan = fixture();
    PcmClip tone{16000, {}};
    for (int i = 0; i < 16000; ++i)
        tone.Samples.append(qint16(8000 * std::sin(i * 0.17)));
    plan.Bride.Voice.Recording = VoiceCodec::encode(tone);
    const QString event = eventFile(root, plan, [&](StoreSession& s) {
        QVERIFY(s.voices().savePerson(plan.Bride, 'B'));
    });
    root.writeCatalogue({}, {{{"dbKey", 101}, {"Name", "Signed, Sealed, Delivered"}}});
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "library");
        db.setDatabaseName(PathMap::catalogue());
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(CatalogueFormat::createImportKeys()));
        QVERIFY(QSqlQuery(db).exec("INSERT INTO ImportKeys (dbKey, Path) VALUES (101, '/s.mp3')"));
    }
    QSqlDatabase::removeDatabase("library");
    DeskEventView view(event, QString(), PathMap::catalogue());
    QStringList songs;
    auto* tree = child<QTreeWidget>(&view, "treeSongs");
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        songs << QStringList{(*it)->text(0), (*it)->text(1), (*it)->text(2), (*it)->text(3)}
                     .join('|');
    const QString none = "|no file in the library", brought = "|music provided by the couple";
    const QString ssd = "Signed, Sealed, Delivered|Stevie Wonder|";
    QCOMPARE(songs, (QStringList{"Must play (4)|||", ssd + "2:41|/s.mp3",
                                 "At Last|Etta James|3:02" + none,
                                 "Our Song \"Live\"|Cousin Theo|4:10" + brought,
                                 "Ständchen|Gruppe Süd|3:33" + none, "Do not play (2)|||",
                                 "Macarena|Los del Río|4:12" + none,
                                 "Chicken Dance|Werner Thomas|2:58" + none,
                                 "The schedule's songs (3)|||", ssd + "|/s.mp3",
                                 "Our Song \"Live\"|Cousin Theo|" + brought,
                                 "Goodnight Sweetheart|The Spaniels|" + none}));

    NameSpeaker speaker(std::make_unique<TestSoundPort>());
    auto& port = static_cast<TestSoundPort&>(speaker.port());
    view.setSpeaker(&speaker);
    child<QPushButton>(&view, "cmdSayIt_0")->click();
    child<QPushButton>(&view, "cmdSayIt_1")->click();
    const PcmClip said = *SpeechEngine().speak(plan.Groom.Pronunciation, speaker.defaultLanguage());
    // The recording exactly; the engine's speech differs from one saying to the next by a
    // few samples.
    QCOMPARE(port.played.size(), 2);
    QCOMPARE(port.played[0], *VoiceCodec::decode(plan.Bride.Voice.Recording));
    QCOMPARE(port.played[1].SampleRate, said.SampleRate);
    QCOMPARE_LE(std::abs(port.played[1].durationMs() - said.durationMs()), 20);
    port.hasOutput = false;
    view.setSpeaker(&speaker);
    QCOMPARE(child<QPushButton>(&view, "cmdSayIt_1")->toolTip(), QString("No sound output here."));

    child<QTabWidget>(&view, "tabEvent")->setCurrentIndex(1);
    whenModal("dlgSavePdf", [&](QWidget* d) {
        QCOMPARE(static_cast<QFileDialog*>(d)->selectedFiles().value(0).section('/', -1),
                 QString("2031-06-14 Zoë Marchetti & Tobias Nwachukwu run sheet.pdf"));
        static_cast<QFileDialog*>(d)->selectFile(root.path() + "/sheet.pdf");
        QMetaObject::invokeMethod(d, "accept");
    });
    child<QPushButton>(&view, "cmdSavePdf")->click();
    QVERIFY(QDir().mkpath(root.path() + "/lists"));
    whenModal("dlgExportFolder", [&](QWidget* d) {
        static_cast<QFileDialog*>(d)->setDirectory(root.path() + "/lists");
        QMetaObject::invokeMethod(d, "accept");
    });
    child<QPushButton>(&view, "cmdExport")->click();
    QStringList texts;
    for (const MessageBox::Request& m : root.messages)
        texts << m.text;
    QCOMPARE(texts, (QStringList{"The run sheet was saved as\n\n" + root.path() + "/sheet.pdf",
                                 "The playlists were saved in\n\n" + root.path() + "/lists"}));
    QCOMPARE(QDir(root.path() + "/lists").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{"collection.nml", "collection.xml", "exclude.csv", "exclude.m3u8",
                          "include.csv", "include.m3u8", "missing.csv", "names", "schedule.ics",
                          "schedule.m3u8"}));
    whenModal("dlgPrint", [](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
    child<QPushButton>(&view, "cmdPrint")->click();
    child<QTabWidget>(&view, "tabEvent")->setCurrentIndex(3);
    QCOMPARE(child<QPushButton>(&view, "cmdPrint")->isEnabled(), false);
}

// The copy is made while another connection is in the middle of a write: it opens, passes the
// start check and holds the last committed state, with the event's identity.
void TestPlan::sendFromTheFinishPage()
{
    TestRoot root;
    root.writeCatalogue();
    ZelWizard w;
    QVERIFY(startWithoutLoader(w));
    writeEvent(w.store(), fixture());
    WizardPage* final = w.page(9);
    w.loadedPage(0)->hide();
    final->show();
    QStringList shown;
    FolderView::setHandler([&](const QString& folder) {
        shown << folder;
        return true;
    });

    QSqlDatabase writer = QSqlDatabase::addDatabase("QSQLITE", "writer");
    writer.setDatabaseName(PathMap::eventDatabase());
    QVERIFY(writer.open());
    QVERIFY(writer.transaction());
    for (int i = 0; i < 500; ++i)
        QVERIFY(QSqlQuery(writer).exec(
            QString("INSERT INTO Strs (Item, Usage) VALUES ('Half%1', 'x')").arg(i)));
    QVERIFY(QSqlQuery(writer).exec("DELETE FROM Strs WHERE Item LIKE 'BP%'"));

    const QString folder = root.path() + "/to send";
    whenModal("dlgSend", [&](QWidget* d) {
        child<QLineEdit>(d, "txtFolder")->setText(folder);
        child<QCheckBox>(d, "chkPdf")->setChecked(true);
        child<QPushButton>(d, "cmdSave")->click();
    });
    child<QPushButton>(final, "cmdSend")->click();
    QVERIFY(writer.commit());
    writer.close();
    QSqlDatabase::removeDatabase("writer");
    FolderView::setHandler({});

    QCOMPARE(shown, QStringList{folder});
    const QString name = folder + "/2031-06-14 Zoë Marchetti & Tobias Nwachukwu";
    QVERIFY(fileBytes(name + ".pdf").startsWith("%PDF"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), (QStringList{QFileInfo(name).fileName() + ".feteplan",
                                                              QFileInfo(name).fileName() + ".pdf"}));
    StoreSession copy(name + ".feteplan", QString(), StoreSession::ReadOnly);
    QVERIFY2(copy.isOpen(), qPrintable(copy.errorString()));
    QCOMPARE(EventPlan::read(copy, nullptr)->Party, fixture().Party);
    QStringList half;
    QVERIFY(copy.items().strItemsStartingWith("Half", [&](const QString& key, const QString&) { half << key; }));
    QCOMPARE(half, QStringList());
    const EventIdentity sent = EventIdentity::of(copy);
    QCOMPARE(sent.id.size(), 36);
    QCOMPARE(sent.id, EventIdentity::of(w.store()).id);
    QVERIFY(root.messages.isEmpty());
}

void TestPlan::sameEvent_data()
{
    QTest::addColumn<QStringList>("a");
    QTest::addColumn<QStringList>("b");
    QTest::addColumn<bool>("same");
    const QStringList ab{"id1", "Ann Lee", "Ben Ray"};
    QTest::newRow("same id, names changed") << ab << QStringList{"id1", "Ann Ray", ""} << true;
    QTest::newRow("other id, same names") << ab << QStringList{"id2", "Ann Lee", "Ben Ray"} << false;
    QTest::newRow("no id, same names") << QStringList{"", "ann lee", "Ben Ray"} << ab << true;
    QTest::newRow("no id, other names") << QStringList{"", "Ann Lee", "Bo Ray"} << ab << false;
    QTest::newRow("no id, no names") << QStringList{"", "", ""} << QStringList{"", "", ""} << false;
}

// Pairs of identities, and a copy of an old file without one matched by the couple's names.
void TestPlan::sameEvent()
{
    QFETCH(QStringList, a);
    QFETCH(QStringList, b);
    QFETCH(bool, same);
    const EventIdentity x{a[0], a[1], a[2]}, y{b[0], b[1], b[2]};
    QCOMPARE(x.sameEvent(y), same);
    QCOMPARE(y.sameEvent(x), same);

    TestRoot root;
    const QString old = eventFile(root);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "old");
        db.setDatabaseName(old);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec("DELETE FROM Strs WHERE Item = 'EventId'"));
    }
    QSqlDatabase::removeDatabase("old");
    QString error;
    QVERIFY2(EventCopy::save(old, root.path() + "/copy.feteplan", &error), qPrintable(error));
    const std::optional<EventIdentity> copy = EventIdentity::ofFile(root.path() + "/copy.feteplan", &error);
    QCOMPARE(copy->id, QString());
    QCOMPARE(copy->bride, QString("Zoë Marchetti"));
    QVERIFY(copy->sameEvent(EventIdentity{"id9", "Zoë Marchetti", "Tobias Nwachukwu"}));
    QVERIFY(!copy->sameEvent(EventIdentity{"id9", "Zoë Marchetti", "Someone Else"}));
}

using Settings = QMap<QString, QString>;

void TestPlan::finalChanges_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<int>("daysToGo");
    QTest::addColumn<QString>("reach");
    QTest::addColumn<bool>("final");
    const QMap<QString, QString> dana{{"EntName", "Dana Cole"}, {"EntPhone", "555-0100"},
                                      {"EntEmail", "dana@example.org"}, {"FinalDays", "14"}};
    const QString reach = "Your entertainer: Dana Cole, phone 555-0100, e-mail dana@example.org";
    QTest::newRow("no settings") << QMap<QString, QString>() << 10 << QString() << false;
    QTest::newRow("before the day") << dana << 15 << reach << false;
    QTest::newRow("from the day") << dana << 14 << reach << true;
    QTest::newRow("no number of days") << QMap<QString, QString>{{"EntName", "Dana Cole"}} << 1
                                       << "Your entertainer: Dana Cole" << false;
}

// Once the plan is final every answer page is read-only, says why, and Next through all of
// them stores nothing; the welcome and finish pages say how to reach the entertainer.
void TestPlan::finalChanges()
{
    QFETCH(Settings, settings);
    QFETCH(int, daysToGo);
    QFETCH(QString, reach);
    QFETCH(bool, final);
    TestRoot root;
    EventPlan plan = fixture();
    plan.Times.Date.value = QDate::currentDate().addDays(daysToGo);
    const QString file = eventFile(root, plan);
    root.writeCatalogue(settings);
    const QByteArray before = fileBytes(file);
    ZelWizard w;
    QVERIFY(startWithoutLoader(w));
    for (const int page : {0, 9}) {
        auto* label = w.page(page)->findChild<QLabel*>("lblEntertainer");
        QCOMPARE(label ? label->text() : QString(), reach);
        QCOMPARE(w.page(page)->findChild<QLabel*>("lblFrozen") != nullptr, final);
    }
    if (!final)
        return;
    const QString line = QString("Your plan is final since %1. For any change, please call "
                                 "Dana Cole at 555-0100.")
                             .arg(QLocale(QLocale::English, QLocale::UnitedStates)
                                      .toString(QDate::currentDate(), "dddd, MMMM d, yyyy"));
    w.loadedPage(9)->hide();
    w.loadedPage(0)->show();
    for (int page = 0; page < 9; ++page) {
        QCOMPARE(visiblePage(w)->index(), page);
        QCOMPARE(visiblePage(w)->isFrozen(), page > 0);
        if (page > 0)
            QCOMPARE(child<QLabel>(visiblePage(w), "lblTop_1")->text(), line);
        if (page == 2)
            QCOMPARE(child<QLineEdit>(visiblePage(w), "txtGuests")->isEnabled(), false);
        child<QPushButton>(visiblePage(w), "cmdNext")->click();
    }
    QCOMPARE(visiblePage(w)->objectName(), QString("MenuFinal"));
    QCOMPARE(fileBytes(file), before);
    QVERIFY(root.messages.isEmpty());
}

QTEST_MAIN(TestPlan)
#include "test_plan.moc"
