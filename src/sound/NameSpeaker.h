#pragma once

#include "sound/SoundPort.h"
#include "store/NameVoice.h"
#include "voice/SpeechEngine.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

// Says names for the dialogs: a name with the speech engine, or the couple's recording,
// on the sound port. Owned by the application object and reached through the program-wide
// state; tests put in a sound port of their own.
class NameSpeaker
{
  public:
    // With the system's sound devices.
    NameSpeaker();
    explicit NameSpeaker(std::unique_ptr<SoundPort> port);
    ~NameSpeaker();

    SoundPort& port() { return *m_port; }
    void setPort(std::unique_ptr<SoundPort> port);

    // The engine's languages (read once) and the one the system's language chooses.
    const QList<SpeechVoice>& voices();
    QString defaultLanguage();

    // Why "Say It" cannot be used: no sound output, or no speech engine and no
    // recording; empty when it can.
    QString sayProblem(const NameVoice& voice);

    // Says `text` as `voice` says it: the recording when the voice plays one, else the
    // engine in the voice's language (the default language when it has none). False, with
    // `error` set, when nothing could be played.
    bool say(const QString& text, const NameVoice& voice, QString* error = nullptr);

  private:
    SpeechEngine& engine();

    std::unique_ptr<SoundPort> m_port;
    std::unique_ptr<SpeechEngine> m_engine; // set up at the first name said or listed
    std::optional<QList<SpeechVoice>> m_voices;
};
