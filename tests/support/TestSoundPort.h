#pragma once

#include "sound/SoundPort.h"

#include <QList>

// A sound port for tests: it plays nothing but keeps every clip it was given, and its
// "microphone" brings what the test feeds it. Either half can be made absent.
class TestSoundPort : public SoundPort
{
    Q_OBJECT
  public:
    bool hasOutput = true;
    bool hasMicrophone = true;
    QList<PcmClip> played;
    bool recording = false;

    QString outputProblem() const override
    {
        return hasOutput ? QString() : QStringLiteral("No sound output here.");
    }
    QString inputProblem() const override
    {
        return hasMicrophone ? QString() : QStringLiteral("No microphone here.");
    }
    void play(const PcmClip& clip) override { played.append(clip); }
    void stopPlaying() override {}
    void startRecording() override { recording = true; }
    void stopRecording() override { recording = false; }
    int recordingRate() const override { return 16000; }

    // Brings `clip` in as the microphone would, in pieces of 100 ms, while recording.
    void feed(const PcmClip& clip)
    {
        for (qsizetype at = 0; recording && at < clip.Samples.size(); at += 1600)
            emit captured({clip.SampleRate, clip.Samples.mid(at, 1600)});
    }
};
