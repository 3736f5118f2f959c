#include "frmRecord.h"

#include "ui_frmRecord.h"

#include "sound/SoundPort.h"
#include "ui/BusyPointer.h"
#include "ui/MessageBox.h"
#include "voice/VoiceCodec.h"

#include <algorithm>

frmRecord::frmRecord(SoundPort& port, const QString& name, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmRecord>()), m_port(port)
{
    m_ui->setupUi(this);
    if (!name.isEmpty())
        m_ui->lblSay->setText(tr("Press Record and say \"%1\".").arg(name));
    connect(m_ui->cmdStart, &QPushButton::clicked, this, &frmRecord::start);
    connect(m_ui->cmdStop, &QPushButton::clicked, this, &frmRecord::stop);
    connect(m_ui->cmdPlay, &QPushButton::clicked, this, [this] { m_port.play(m_take); });
    connect(m_ui->cmdKeep, &QPushButton::clicked, this, &frmRecord::keep);
    connect(m_ui->cmdDiscard, &QPushButton::clicked, this, &QDialog::reject);
    connect(&m_port, &SoundPort::captured, this, &frmRecord::take);
    connect(&m_port, &SoundPort::recordingFailed, this, [this](const QString& why) {
        stop();
        m_ui->lblSay->setText(why);
    });
    m_ui->cmdStart->setFocus();
}

frmRecord::~frmRecord() = default;

std::optional<QByteArray> frmRecord::record(SoundPort& port, const QString& name,
                                            QWidget* parent)
{
    frmRecord dialog(port, name, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.m_kept;
}

void frmRecord::start()
{
    m_port.stopPlaying();
    m_take = PcmClip{m_port.recordingRate(), {}};
    m_recording = true;
    showTake();
    m_port.startRecording();
    m_ui->cmdStop->setFocus();
}

void frmRecord::stop()
{
    if (m_recording)
        m_port.stopRecording();
    m_recording = false;
    m_ui->pgbLevel->setValue(0);
    showTake();
    if (!m_take.isEmpty())
        m_ui->cmdKeep->setFocus();
}

void frmRecord::take(const PcmClip& piece)
{
    if (!m_recording)
        return;
    const qsizetype room =
        qsizetype(VoiceCodec::kMaxSeconds) * m_take.SampleRate - m_take.Samples.size();
    m_take.Samples.append(piece.Samples.mid(0, std::min(room, piece.Samples.size())));
    m_ui->pgbLevel->setValue(int(piece.peak() * 100));
    showTake();
    if (m_take.Samples.size() >= qsizetype(VoiceCodec::kMaxSeconds) * m_take.SampleRate)
        stop();
}

void frmRecord::showTake()
{
    m_ui->lblTime->setText(tr("%1 of %2 seconds")
                               .arg(m_take.durationMs() / 1000.0, 0, 'f', 1)
                               .arg(VoiceCodec::kMaxSeconds));
    m_ui->cmdStart->setEnabled(!m_recording);
    m_ui->cmdStop->setEnabled(m_recording);
    const bool hasTake = !m_recording && !m_take.isEmpty();
    m_ui->cmdPlay->setEnabled(hasTake && m_port.outputProblem().isEmpty());
    m_ui->cmdKeep->setEnabled(hasTake);
}

void frmRecord::keep()
{
    QString error;
    QByteArray bytes;
    {
        BusyPointer busy;
        bytes = VoiceCodec::encode(m_take, &error);
    }
    if (bytes.isEmpty()) {
        MessageBox::show(error, windowTitle(), QMessageBox::Ok, QMessageBox::Warning, this);
        return;
    }
    m_kept = bytes;
    accept();
}

void frmRecord::done(int result)
{
    // However the dialog ends, the microphone and the speaker are let go.
    if (m_recording)
        m_port.stopRecording();
    m_recording = false;
    m_port.stopPlaying();
    QDialog::done(result);
}
