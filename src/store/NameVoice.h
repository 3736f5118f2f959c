#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>

// How a person's name is said: the language the speech engine says the pronunciation in,
// and the couple's own recording of the name (Ogg Opus bytes, empty when there is none)
// with the choice whether "Say It" plays that recording instead of the engine.
struct NameVoice {
    // The recording's form (Ogg Opus): its name ending and its media type.
    static constexpr const char* kFileSuffix = "opus";
    static constexpr const char* kMediaType = "audio/ogg; codecs=opus";

    QString Language;
    QByteArray Recording;
    bool UseRecording = true;

    bool isEmpty() const { return Language.isEmpty() && Recording.isEmpty(); }
    // True when "Say It" plays the recording.
    bool playsRecording() const { return UseRecording && !Recording.isEmpty(); }
    bool operator==(const NameVoice&) const = default;
};
Q_DECLARE_METATYPE(NameVoice)
