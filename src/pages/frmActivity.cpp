#include "frmActivity.h"

#include "ui_frmActivity.h"

#include "pages/CaretAtEnd.h"
#include "platform/OleDate.h"
#include "ui/MessageBox.h"
#include "wizard/PageStyle.h"
#include "wizard/Wizard.h"
#include "wizard/WizardState.h"

#include <QCloseEvent>

const QStringList frmActivity::kPresetActivities = {QStringLiteral("Arrival of Guests"),
                                                    QStringLiteral("Bridal Party Introduction"),
                                                    QStringLiteral("Toast"),
                                                    QStringLiteral("Prayer/Grace"),
                                                    QStringLiteral("Hors D'oeuvres/Cocktails"),
                                                    QStringLiteral("Dinner"),
                                                    QStringLiteral("Cake Cutting"),
                                                    QStringLiteral("Bridal Dance"),
                                                    QStringLiteral("Bridal Party Dance"),
                                                    QStringLiteral("Father/Daughter Dance"),
                                                    QStringLiteral("Mother/Son Dance"),
                                                    QStringLiteral("Garter/Bouquet Toss"),
                                                    QStringLiteral("Dollar Dance"),
                                                    QStringLiteral("Anniversary Dance"),
                                                    QStringLiteral("Other")};

frmActivity::frmActivity(WizardState& state, Wizard& wizard, AddReturnFunction addReturn,
                         QWidget* owner)
    : PageDialog(state, owner), m_ui(std::make_unique<Ui::frmActivity>()), m_wizard(wizard),
      m_addReturn(std::move(addReturn))
{
    m_ui->setupUi(this);
    setModal(false);

    // The picker edits hours, minutes and AM/PM; the date part it was given stays. It works
    // in UTC so that no daylight-saving gap can move a time.
    m_ui->Time1->setTimeSpec(Qt::UTC);
    m_ui->Time1->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    m_ui->Time1->setMinimumDate(QDate(100, 1, 1));
    m_ui->Time1->setWrapping(true);

    // The song boxes are filled only by Select a Song and Clear Song: read-only, light yellow.
    for (QLineEdit* box : {m_ui->txtTitle, m_ui->txtArtist}) {
        QPalette p = box->palette();
        p.setColor(QPalette::Base, QColor(255, 255, 192));
        box->setPalette(p);
    }

    connect(m_ui->cbActivity1, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            m_ui->txtName->setText(m_ui->cbActivity1->itemText(i));
    });
    connect(m_ui->cbActivity1, &QComboBox::activated, this,
            [this](int i) { m_ui->txtName->setText(m_ui->cbActivity1->itemText(i)); });
    // A typed name stands: no preset is shown as chosen any more.
    connect(m_ui->txtName, &QLineEdit::textEdited, this,
            [this] { m_ui->cbActivity1->setCurrentIndex(-1); });

    connect(m_ui->cmdPick, &QPushButton::clicked, this, &frmActivity::selectSong);
    connect(m_ui->cmdClear, &QPushButton::clicked, this, &frmActivity::clearSong);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &frmActivity::save);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, [this] { finish(false); });
    PageStyle::answerButtons(m_ui->cmdOK, m_ui->cmdCancel);

    formLoad();
}

frmActivity::~frmActivity() = default;

void frmActivity::formLoad()
{
    QFont italic = m_ui->lblTime->font();
    italic.setItalic(true);
    m_ui->lblTime->setFont(italic);
    m_ui->lblTime->setText(QStringLiteral("Estimated Starting Time"));
    // Each caption marks the letter that, with Alt, reaches its box; the song is reached
    // through its two buttons.
    m_ui->lblField_0->setText(QStringLiteral("&Time:"));
    m_ui->lblField_1->setText(QStringLiteral("&Activity:"));
    m_ui->lblField_2->setText(QStringLiteral("Song:"));
    m_ui->lblField_3->setText(QStringLiteral("&Who is involved:"));

    m_ui->cbActivity1->clear();
    m_ui->cbActivity1->addItems(kPresetActivities);
    // Selecting runs the preset rule: the name shows "Arrival of Guests".
    m_ui->cbActivity1->setCurrentIndex(-1);
    m_ui->cbActivity1->setCurrentIndex(0);

    clearSong();
    m_ui->txtWho->clear();
    m_ui->txtHotNotes->clear();
}

void frmActivity::setTime(double dayCount)
{
    const QDateTime t = OleDate::toDateTime(dayCount);
    m_ui->Time1->setDateTime(QDateTime(t.date(), t.time(), Qt::UTC));
}

void frmActivity::edit(const ActivityRecord& activity)
{
    if (!m_beforeEdit)
        m_beforeEdit.emplace(this->activity(), m_ui->cbActivity1->currentIndex());
    setActivity(activity, -1);
}

void frmActivity::setActivity(const ActivityRecord& a, int preset)
{
    setTime(a.Scheduled);
    {
        const QSignalBlocker blocker(m_ui->cbActivity1); // the name stays as given
        m_ui->cbActivity1->setCurrentIndex(preset);
    }
    // A stored text longer than its box (written by another tool) is shown whole.
    setLimitedText(m_ui->txtName, 200, a.Name);
    m_songKey = a.SongTitle.isEmpty() ? std::nullopt : a.SongKey;
    setLimitedText(m_ui->txtTitle, 200, a.SongTitle);
    m_ui->txtTitle->setCursorPosition(0);
    setLimitedText(m_ui->txtArtist, 200, a.SongArtist);
    m_ui->txtArtist->setCursorPosition(0);
    setLimitedText(m_ui->txtWho, 200, a.Who);
    m_ui->txtHotNotes->setPlainText(a.MoreInfo);
}

ActivityRecord frmActivity::activity() const
{
    const QDateTime t = m_ui->Time1->dateTime();
    return {OleDate::fromDateTime(t.date(), t.time()),
            m_ui->txtName->text(),
            m_ui->txtTitle->text().isEmpty() ? std::nullopt : m_songKey,
            m_ui->txtTitle->text(),
            m_ui->txtArtist->text(),
            m_ui->txtWho->text(),
            MultiLine::typed(m_ui->txtHotNotes)};
}

// A song from the catalogue, or one the catalogue lacks entered by hand through the custom
// song dialog (modal over this dialog). Without a choice the song stays as it was.
void frmActivity::selectSong()
{
    const std::optional<PickedSongRecord> song = frmOddSong::pickOrEnter(
        m_wizard, m_oddSong, this, QStringLiteral("Select a song for your activity"));
    if (!song)
        return;
    m_songKey = song->Key;
    m_ui->txtTitle->setText(song->Title);
    m_ui->txtTitle->setCursorPosition(0);
    m_ui->txtArtist->setText(song->Artist);
    m_ui->txtArtist->setCursorPosition(0);
}

void frmActivity::clearSong()
{
    m_songKey.reset();
    m_ui->txtTitle->clear();
    m_ui->txtArtist->clear();
}

void frmActivity::save()
{
    if (m_ui->txtName->text().isEmpty()) {
        MessageBox::show(QStringLiteral("Your activity must have a name."),
                         QStringLiteral("Name Required"), QMessageBox::Ok, QMessageBox::NoIcon,
                         this);
        m_ui->txtName->setFocus();
        return;
    }
    finish(true);
}

void frmActivity::finish(bool saved)
{
    const std::optional<ActivityRecord> result =
        saved ? std::optional<ActivityRecord>(activity()) : std::nullopt;
    if (m_beforeEdit) {
        setActivity(m_beforeEdit->first, m_beforeEdit->second);
        m_beforeEdit.reset();
    }
    if (m_addReturn)
        m_addReturn(result);
}

void frmActivity::reject()
{
    // The close box ends the dialog here; Escape cancels.
    if (m_closing)
        hide();
    else
        finish(false);
}

void frmActivity::closeEvent(QCloseEvent* event)
{
    m_closing = true;
    PageDialog::closeEvent(event); // the dialog is built afresh next time
    m_closing = false;
    if (event->isAccepted())
        finish(false);
}
