#include "SpeechEngine.h"

#include <espeak-ng/speak_lib.h>

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <mutex>

namespace
{
// The engine library holds one state per process (its voice, its output callback), so
// every use is serialised here, and it is set up once.
std::mutex& engineLock()
{
    static std::mutex lock;
    return lock;
}

struct EngineSetup {
    int sampleRate = 0;
    QString language; // the voice last chosen
};

EngineSetup& engineSetup()
{
    static EngineSetup setup;
    return setup;
}

int collectSamples(short* wav, int count, espeak_EVENT* events)
{
    if (wav && count > 0 && events) {
        auto* samples = static_cast<QVector<qint16>*>(events->user_data);
        samples->append(QVector<qint16>(wav, wav + count));
    }
    return 0; // go on
}

QString shownName(const char* name)
{
    QString shown = QString::fromUtf8(name).replace(QLatin1Char('_'), QLatin1Char(' '));
    if (!shown.isEmpty())
        shown[0] = shown[0].toUpper();
    return shown;
}

// A respelling writes stressed syllables in capitals; the engine would spell short words
// in capitals letter by letter ("AH" as "A H"), so the text is said in small letters.
QString spokenForm(const QString& text)
{
    return text.toLower();
}

bool chooseLanguage(EngineSetup& setup, const QString& language)
{
    const QString wanted = language.isEmpty() ? QStringLiteral("en") : language;
    if (wanted == setup.language)
        return true;
    const QByteArray code = wanted.toUtf8();
    espeak_VOICE spec{};
    spec.languages = code.constData();
    if (espeak_SetVoiceByProperties(&spec) != EE_OK) {
        espeak_VOICE english{};
        english.languages = "en";
        if (espeak_SetVoiceByProperties(&english) != EE_OK)
            return false;
    }
    setup.language = wanted;
    return true;
}
} // namespace

SpeechEngine::SpeechEngine()
{
    std::lock_guard guard(engineLock());
    EngineSetup& setup = engineSetup();
    if (setup.sampleRate <= 0) {
        const int rate =
            espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (rate > 0) {
            espeak_SetSynthCallback(collectSamples);
            setup.sampleRate = rate;
        }
    }
    m_sampleRate = setup.sampleRate;
    if (m_sampleRate <= 0)
        m_error = QCoreApplication::translate("SpeechEngine",
                                              "The speech engine's voices could not be loaded.");
}

QList<SpeechVoice> SpeechEngine::voices() const
{
    QList<SpeechVoice> list;
    if (!isReady())
        return list;
    std::lock_guard guard(engineLock());
    QStringList seen;
    for (const espeak_VOICE** v = espeak_ListVoices(nullptr); v && *v; ++v) {
        // The first of the voice's languages, after its priority byte.
        const char* languages = (*v)->languages;
        if (!languages || !languages[0] || !languages[1])
            continue;
        const QString code = QString::fromUtf8(languages + 1);
        if (seen.contains(code))
            continue;
        seen << code;
        list.append({code, shownName((*v)->name)});
    }
    std::sort(list.begin(), list.end(), [](const SpeechVoice& a, const SpeechVoice& b) {
        return QString::localeAwareCompare(a.Name, b.Name) < 0;
    });
    return list;
}

QString SpeechEngine::languageFor(const QLocale& locale, const QList<SpeechVoice>& voices)
{
    if (voices.isEmpty())
        return {};
    const QString full = locale.name().toLower().replace(QLatin1Char('_'), QLatin1Char('-'));
    const QString language = full.section(QLatin1Char('-'), 0, 0);
    auto find = [&voices](auto&& fits) {
        const auto hit = std::find_if(voices.begin(), voices.end(), fits);
        return hit != voices.end() ? hit->Language : QString();
    };
    auto exactly = [](const QString& code) {
        return [code](const SpeechVoice& v) {
            return v.Language.compare(code, Qt::CaseInsensitive) == 0;
        };
    };
    auto sameLanguage = [](const QString& code) {
        return [code](const SpeechVoice& v) {
            return v.Language.section(QLatin1Char('-'), 0, 0) == code;
        };
    };
    const QString english = QStringLiteral("en");
    for (const QString& found :
         {find(exactly(full)), find(exactly(language)), find(sameLanguage(language)),
          find(exactly(english)), find(exactly(QStringLiteral("en-us"))),
          find(sameLanguage(english))}) {
        if (!found.isEmpty())
            return found;
    }
    return voices.first().Language;
}

std::optional<PcmClip> SpeechEngine::speak(const QString& text, const QString& language,
                                           QString* error) const
{
    auto fail = [error](const QString& why) -> std::optional<PcmClip> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (!isReady())
        return fail(m_error);
    std::lock_guard guard(engineLock());
    if (!chooseLanguage(engineSetup(), language))
        return fail(QCoreApplication::translate("SpeechEngine", "The speech engine has no voice."));
    PcmClip clip;
    clip.SampleRate = m_sampleRate;
    const QByteArray utf8 = spokenForm(text).toUtf8();
    const espeak_ERROR said = espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0,
                                           POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                                           &clip.Samples);
    if (said != EE_OK)
        return fail(QCoreApplication::translate("SpeechEngine", "The speech engine failed."));
    return clip;
}
