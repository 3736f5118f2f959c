#pragma once

#include "sound/SoundPort.h"

#include <QBuffer>
#include <QMediaDevices>

#include <memory>

class QAudioSink;
class QAudioSource;

// The sound port of the running program: the system's default output and microphone,
// through Qt Multimedia, asked afresh at each use, so a device plugged in later is found.
class QtSoundPort : public SoundPort
{
    Q_OBJECT
  public:
    explicit QtSoundPort(QObject* parent = nullptr);
    ~QtSoundPort() override;

    QString outputProblem() const override;
    QString inputProblem() const override;
    void play(const PcmClip& clip) override;
    void stopPlaying() override;
    void startRecording() override;
    void stopRecording() override;
    int recordingRate() const override { return kRecordingRate; }

  private:
    static constexpr int kRecordingRate = 48000;
    void readMicrophone();

    std::unique_ptr<QAudioSink> m_sink;
    QBuffer m_playing;
    std::unique_ptr<QAudioSource> m_source;
    QIODevice* m_microphone = nullptr;
};
