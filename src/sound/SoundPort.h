#pragma once

#include "voice/PcmClip.h"

#include <QObject>
#include <QString>

// The computer's sound: the output that plays names and the microphone that records them.
// The program uses QtSoundPort; tests put in a port of their own that keeps what is played
// and records what the test feeds it, so nothing needs a sound card.
class SoundPort : public QObject
{
    Q_OBJECT
  public:
    using QObject::QObject;

    // Why nothing can be played (or recorded), in a sentence for a tooltip; empty when it
    // can.
    virtual QString outputProblem() const = 0;
    virtual QString inputProblem() const = 0;

    // Plays the clip, ending what played before.
    virtual void play(const PcmClip& clip) = 0;
    virtual void stopPlaying() = 0;

    // Starts taking sound from the microphone: captured() brings it in pieces until
    // stopRecording(). recordingRate() is the sample rate of the pieces.
    virtual void startRecording() = 0;
    virtual void stopRecording() = 0;
    virtual int recordingRate() const = 0;

  signals:
    void playingChanged(bool playing);
    void captured(const PcmClip& piece);
    // Recording stopped because the microphone failed.
    void recordingFailed(const QString& why);
};
