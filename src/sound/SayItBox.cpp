#include "SayItBox.h"

#include "ui_SayItBox.h"

#include "sound/NameSpeaker.h"
#include "sound/frmRecord.h"
#include "ui/MessageBox.h"

#include <QLineEdit>

SayItBox::SayItBox(QWidget* parent) : QWidget(parent), m_ui(std::make_unique<Ui::SayItBox>())
{
    m_ui->setupUi(this);
    connect(m_ui->cmdSayIt, &QPushButton::clicked, this, &SayItBox::sayIt);
    connect(m_ui->cmdRecord, &QPushButton::clicked, this, &SayItBox::record);
    connect(m_ui->chkOwnVoice, &QCheckBox::toggled, this, &SayItBox::refresh);
    connect(m_ui->cmdDeleteRecording, &QPushButton::clicked, this, &SayItBox::deleteRecording);
    refresh();
}

SayItBox::~SayItBox() = default;

void SayItBox::attach(NameSpeaker* speaker, QLineEdit* pronunciation, QLineEdit* name)
{
    m_speaker = speaker;
    m_pronunciation = pronunciation;
    m_name = name;
    m_ui->cboVoice->clear();
    if (m_speaker) {
        for (const SpeechVoice& v : m_speaker->voices())
            m_ui->cboVoice->addItem(v.Name, v.Language);
    }
    for (QLineEdit* box : {pronunciation, name})
        connect(box, &QLineEdit::textChanged, this, &SayItBox::refresh);
    setVoice({});
}

QWidget* SayItBox::placeInTabOrderAfter(QWidget* before)
{
    for (QWidget* next :
         std::initializer_list<QWidget*>{m_ui->cmdSayIt, m_ui->cboVoice, m_ui->cmdRecord,
                                         m_ui->chkOwnVoice, m_ui->cmdDeleteRecording}) {
        QWidget::setTabOrder(before, next);
        before = next;
    }
    return before;
}

void SayItBox::setVoice(const NameVoice& voice)
{
    const QString language =
        voice.Language.isEmpty() && m_speaker ? m_speaker->defaultLanguage() : voice.Language;
    int at = m_ui->cboVoice->findData(language);
    if (at < 0 && !language.isEmpty()) {
        // A language this computer's engine lacks stays the person's language.
        m_ui->cboVoice->addItem(language, language);
        at = m_ui->cboVoice->count() - 1;
    }
    m_ui->cboVoice->setCurrentIndex(at);
    m_recording = voice.Recording;
    m_ui->chkOwnVoice->setChecked(voice.UseRecording);
    refresh();
}

NameVoice SayItBox::voice() const
{
    NameVoice v;
    v.Language = m_ui->cboVoice->currentData().toString();
    v.Recording = m_recording;
    v.UseRecording = m_ui->chkOwnVoice->isChecked();
    return v;
}

QString SayItBox::textToSay() const
{
    const QString said = m_pronunciation ? m_pronunciation->text().trimmed() : QString();
    if (!said.isEmpty() || !m_name)
        return said;
    return m_name->text().trimmed();
}

void SayItBox::refresh()
{
    const NameVoice v = voice();
    QString sayProblem = m_speaker ? m_speaker->sayProblem(v)
                                   : tr("Names cannot be said on this computer.");
    if (sayProblem.isEmpty() && !v.playsRecording() && textToSay().isEmpty())
        sayProblem = tr("Type the name or its pronunciation first.");
    m_ui->cmdSayIt->setEnabled(sayProblem.isEmpty());
    m_ui->cmdSayIt->setToolTip(sayProblem.isEmpty()
                                   ? tr("Says the pronunciation (the name when it is empty)")
                                   : sayProblem);
    const QString recordProblem = m_speaker ? m_speaker->port().inputProblem()
                                            : tr("Names cannot be recorded on this computer.");
    m_ui->cmdRecord->setEnabled(recordProblem.isEmpty());
    m_ui->cmdRecord->setToolTip(recordProblem.isEmpty()
                                    ? tr("Records the name in your own voice (at most 10 seconds)")
                                    : recordProblem);
    m_ui->cboVoice->setEnabled(m_ui->cboVoice->count() > 0);
    // The choice between the recording and the engine, and its deletion, are there once
    // there is a recording.
    m_ui->chkOwnVoice->setVisible(!m_recording.isEmpty());
    m_ui->cmdDeleteRecording->setVisible(!m_recording.isEmpty());
}

void SayItBox::sayIt()
{
    QString error;
    if (!m_speaker || !m_speaker->say(textToSay(), voice(), &error))
        MessageBox::show(error, tr("Say It"), QMessageBox::Ok, QMessageBox::Warning, this);
}

void SayItBox::record()
{
    if (!m_speaker)
        return;
    const auto kept = frmRecord::record(m_speaker->port(), textToSay(), this);
    if (!kept)
        return;
    m_recording = *kept;
    m_ui->chkOwnVoice->setChecked(true);
    refresh();
}

void SayItBox::deleteRecording()
{
    // The keyboard stays in the box: the button goes with the recording.
    if (m_ui->cmdDeleteRecording->hasFocus())
        m_ui->cmdRecord->setFocus();
    m_recording.clear();
    m_ui->chkOwnVoice->setChecked(false);
    refresh();
}
