#include "QtSoundPort.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QAudioSource>
#include <QCoreApplication>
#include <QMediaDevices>

#include <algorithm>
#include <cstring>

namespace
{
QAudioFormat monoFormat(int rate)
{
    QAudioFormat format;
    format.setSampleRate(rate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}


// The clip at another sample rate, by straight lines between its samples: only for an
// output that does not take the clip's own rate.
PcmClip resampled(const PcmClip& clip, int rate)
{
    PcmClip out;
    out.SampleRate = rate;
    const qsizetype count = clip.Samples.size() * rate / std::max(1, clip.SampleRate);
    out.Samples.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const double at = double(i) * clip.SampleRate / rate;
        const qsizetype k = qsizetype(at);
        const double f = at - double(k);
        const double a = clip.Samples.value(k);
        const double b = clip.Samples.value(k + 1, clip.Samples.value(k));
        out.Samples.append(qint16(a + (b - a) * f));
    }
    return out;
}
} // namespace

QtSoundPort::QtSoundPort(QObject* parent) : SoundPort(parent) {}

QtSoundPort::~QtSoundPort()
{
    stopRecording();
    stopPlaying();
}

QString QtSoundPort::outputProblem() const
{
    return QMediaDevices::defaultAudioOutput().isNull()
               ? tr("This computer has no sound output, so names cannot be played.")
               : QString();
}

QString QtSoundPort::inputProblem() const
{
    return QMediaDevices::defaultAudioInput().isNull()
               ? tr("This computer has no microphone, so names cannot be recorded.")
               : QString();
}

void QtSoundPort::play(const PcmClip& clip)
{
    stopPlaying();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || clip.isEmpty())
        return;
    PcmClip sound = clip;
    if (!device.isFormatSupported(monoFormat(clip.SampleRate)))
        sound = resampled(clip, device.preferredFormat().sampleRate());
    m_playing.setData(reinterpret_cast<const char*>(sound.Samples.constData()),
                      sound.Samples.size() * qsizetype(sizeof(qint16)));
    m_playing.open(QIODevice::ReadOnly);
    m_sink = std::make_unique<QAudioSink>(device, monoFormat(sound.SampleRate));
    connect(m_sink.get(), &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::IdleState || state == QAudio::StoppedState) {
            // Ended (or failed): let go of the device after this signal has returned.
            QMetaObject::invokeMethod(this, &QtSoundPort::stopPlaying, Qt::QueuedConnection);
        }
    });
    m_sink->start(&m_playing);
    emit playingChanged(true);
}

void QtSoundPort::stopPlaying()
{
    if (!m_sink)
        return;
    auto sink = std::move(m_sink);
    sink->disconnect(this);
    sink->stop();
    m_playing.close();
    emit playingChanged(false);
}

void QtSoundPort::startRecording()
{
    stopRecording();
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        emit recordingFailed(inputProblem());
        return;
    }
    m_source = std::make_unique<QAudioSource>(device, monoFormat(kRecordingRate));
    m_microphone = m_source->start();
    if (!m_microphone || m_source->error() != QAudio::NoError) {
        m_source.reset();
        m_microphone = nullptr;
        emit recordingFailed(tr("The microphone could not be opened."));
        return;
    }
    connect(m_microphone, &QIODevice::readyRead, this, &QtSoundPort::readMicrophone);
}

void QtSoundPort::readMicrophone()
{
    if (!m_microphone)
        return;
    const QByteArray bytes = m_microphone->readAll();
    PcmClip piece;
    piece.SampleRate = kRecordingRate;
    piece.Samples.resize(bytes.size() / qsizetype(sizeof(qint16)));
    std::memcpy(piece.Samples.data(), bytes.constData(),
                size_t(piece.Samples.size()) * sizeof(qint16));
    if (!piece.isEmpty())
        emit captured(piece);
}

void QtSoundPort::stopRecording()
{
    if (!m_source)
        return;
    m_source->stop();
    m_source.reset();
    m_microphone = nullptr;
}
