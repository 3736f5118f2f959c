#include "NameSpeaker.h"

#include "sound/QtSoundPort.h"
#include "voice/VoiceCodec.h"

#include <QCoreApplication>
#include <QLocale>

NameSpeaker::NameSpeaker() : NameSpeaker(std::make_unique<QtSoundPort>()) {}

NameSpeaker::NameSpeaker(std::unique_ptr<SoundPort> port) : m_port(std::move(port)) {}

NameSpeaker::~NameSpeaker() = default;

void NameSpeaker::setPort(std::unique_ptr<SoundPort> port)
{
    m_port = std::move(port);
}

SpeechEngine& NameSpeaker::engine()
{
    if (!m_engine)
        m_engine = std::make_unique<SpeechEngine>();
    return *m_engine;
}

const QList<SpeechVoice>& NameSpeaker::voices()
{
    if (!m_voices)
        m_voices = engine().voices();
    return *m_voices;
}

QString NameSpeaker::defaultLanguage()
{
    return SpeechEngine::languageFor(QLocale::system(), voices());
}

QString NameSpeaker::sayProblem(const NameVoice& voice)
{
    const QString output = m_port->outputProblem();
    if (!output.isEmpty())
        return output;
    if (!voice.playsRecording() && !engine().isReady())
        return engine().error();
    return {};
}

bool NameSpeaker::say(const QString& text, const NameVoice& voice, QString* error)
{
    const QString problem = sayProblem(voice);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    std::optional<PcmClip> sound;
    if (voice.playsRecording()) {
        sound = VoiceCodec::decode(voice.Recording);
        if (!sound && error)
            *error = QCoreApplication::translate("NameSpeaker",
                                                 "The recording of this name cannot be read.");
    } else {
        sound = engine().speak(text, voice.Language.isEmpty() ? defaultLanguage() : voice.Language,
                               error);
    }
    if (!sound)
        return false;
    m_port->play(*sound);
    return true;
}
