#include "frmOddSong.h"

#include "ui_frmOddSong.h"

#include "ui/MessageBox.h"
#include "wizard/PageStyle.h"
#include "wizard/Wizard.h"
#include "wizard/WizardState.h"

frmOddSong::frmOddSong(WizardState& state, QWidget* owner)
    : PageDialog(state, owner), m_ui(std::make_unique<Ui::frmOddSong>())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // The explanation comes from the data folder; without the file the dialog still says
    // in a line what to do, so it never opens with an empty box at its top.
    if (!m_ui->RichTextBox1->loadFile(m_state.MediaFolder + QStringLiteral("song.rtf")))
        m_ui->RichTextBox1->setPlainText(
            QStringLiteral("Your song is not in the song list. Type its name, and its artist and "
                           "length if you know them, then press OK."));

    connect(m_ui->cmdOK, &QPushButton::clicked, this, &frmOddSong::onOK);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, [this] { answer(false); });
    PageStyle::answerButtons(m_ui->cmdOK, m_ui->cmdCancel);
}

frmOddSong::~frmOddSong() = default;

void frmOddSong::onOK()
{
    // Only the name is required; a name of blanks still counts as a name.
    if (m_ui->txtName->text().isEmpty()) {
        MessageBox::show(QStringLiteral("Your song must have a name."),
                         QStringLiteral("Name Required"), QMessageBox::Ok, QMessageBox::NoIcon,
                         this);
        m_ui->txtName->setFocus();
        return;
    }
    m_song = {m_ui->chkHaveMusic->isChecked() ? qint16(-3) : qint16(-2), m_ui->txtName->text(),
              m_ui->txtArtist->text(), m_ui->txtLength->text()};
    answer(true);
}

std::optional<PickedSongRecord> frmOddSong::ask(DialogSlot<frmOddSong>& slot, WizardState& state,
                                                QWidget* opener)
{
    frmOddSong& dialog = slot.get(state, opener);
    dialog.m_ui->txtName->setFocus();
    if (!dialog.showModal())
        return std::nullopt;
    return dialog.m_song;
}

std::optional<PickedSongRecord> frmOddSong::pickOrEnter(Wizard& wizard,
                                                        DialogSlot<frmOddSong>& slot,
                                                        QWidget* opener, const QString& caption)
{
    const SongPick pick = wizard.pickSong(opener, caption);
    switch (pick.outcome) {
    case SongPick::Picked:
        return pick.song;
    case SongPick::CantFind:
        return ask(slot, wizard.state(), opener);
    case SongPick::NotPicked:
        break;
    }
    return std::nullopt;
}
