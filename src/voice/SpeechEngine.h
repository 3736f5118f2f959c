#pragma once

#include "voice/PcmClip.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

// One language the speech engine speaks: its code ("en-us", "es", "sr", "vi") and the name
// shown in a language list ("English (America)").
struct SpeechVoice {
    QString Language;
    QString Name;
    bool operator==(const SpeechVoice&) const = default;
};

// Says a name with the offline speech engine of the system, into memory: the sound is
// handed back as samples, so it is played by whatever sound output there is, or by none.
//
// The engine library keeps one state per process; every call of every SpeechEngine object
// goes through one lock, and the library is set up once, at the first object made.
class SpeechEngine
{
  public:
    SpeechEngine();

    // False when the engine's data could not be loaded; error() tells why.
    bool isReady() const { return m_sampleRate > 0; }
    QString error() const { return m_error; }

    // The languages the engine speaks, ordered by name; empty when it is not ready.
    QList<SpeechVoice> voices() const;
    // The language of `voices` that fits `locale` best: the same language and region, else
    // the same language, else English (American first), else the first; empty when there
    // are none.
    static QString languageFor(const QLocale& locale, const QList<SpeechVoice>& voices);

    // The text spoken in `language` (a code of voices(); an unknown or empty one speaks in
    // English). Words written in capitals, as a respelling writes its stressed syllables
    // ("AH-nah SMITH"), are said as words, not spelt letter by letter. No value, with
    // `error` set, when the engine is not ready or fails.
    std::optional<PcmClip> speak(const QString& text, const QString& language,
                                 QString* error = nullptr) const;

  private:
    int m_sampleRate = 0;
    QString m_error;
};
