// The speech engine, the compressed form of recordings, and the name buttons of the dialogs.
#include "voice/SpeechEngine.h"
#include "voice/VoiceCodec.h"

#include <QtTest>

#include <cmath>

namespace
{
// A voice-like test sound: a tone that swells and fades `seconds` long.
PcmClip tone(int rate, double seconds)
{
    PcmClip clip;
    clip.SampleRate = rate;
    for (int i = 0; i < int(rate * seconds); ++i) {
        const double s = double(i) / rate;
        clip.Samples.append(
            qint16(12000 * std::sin(2 * M_PI * 220 * s) * std::sin(M_PI * s / seconds)));
    }
    return clip;
}
} // namespace

class TestVoice : public QObject
{
    Q_OBJECT
  private slots:
    void speaksNames_data();
    void speaksNames();
    void languageFromLocale_data();
    void languageFromLocale();
    void recordingRoundTrip_data();
    void recordingRoundTrip();
    void refusesWhatCannotBeKept();
};

void TestVoice::speaksNames_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "en-us";
    QTest::newRow("Spanish") << "es";
    QTest::newRow("Serbian") << "sr";
}

void TestVoice::speaksNames()
{
    QFETCH(QString, language);
    SpeechEngine engine;
    QVERIFY2(engine.isReady(), qPrintable(engine.error()));
    QString error;
    const auto clip = engine.speak(QStringLiteral("AH-nah SMITH"), language, &error);
    QVERIFY2(clip.has_value(), qPrintable(error));
    QCOMPARE(clip->SampleRate, 22050);
    // Two short words take about a second; spelt letter by letter they would take several.
    QVERIFY2(clip->audibleMs() >= 400, qPrintable(QString::number(clip->audibleMs())));
    QVERIFY2(clip->durationMs() <= 2500, qPrintable(QString::number(clip->durationMs())));
    QVERIFY2(clip->peak() >= 0.1, qPrintable(QString::number(clip->peak())));
}

void TestVoice::languageFromLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    QTest::newRow("language and region") << "en_US" << "en-us";
    QTest::newRow("language only") << "es_MX" << "es";
    QTest::newRow("a region of the language") << "vi_VN" << "vi";
    QTest::newRow("unknown language") << "xh_ZA" << "en";
}

void TestVoice::languageFromLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    const QList<SpeechVoice> voices{{"en", "English"},      {"en-us", "English (America)"},
                                    {"es", "Spanish"},       {"es-419", "Spanish (Latin America)"},
                                    {"vi-vn-x-central", "Vietnamese (Central)"}, {"vi", "Vietnamese"}};
    QCOMPARE(SpeechEngine::languageFor(QLocale(locale), voices), expected);
}

void TestVoice::recordingRoundTrip_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<double>("seconds");
    QTest::newRow("microphone, 48 kHz, a name") << 48000 << 1.5;
    QTest::newRow("speech engine, 22 kHz") << 22050 << 1.0;
    QTest::newRow("longest kept, 16 kHz") << 16000 << 10.0;
}

void TestVoice::recordingRoundTrip()
{
    QFETCH(int, rate);
    QFETCH(double, seconds);
    const PcmClip clip = tone(rate, seconds);
    QString error;
    const QByteArray bytes = VoiceCodec::encode(clip, &error);
    QVERIFY2(!bytes.isEmpty(), qPrintable(error));
    QVERIFY2(bytes.size() <= 100 * 1024, qPrintable(QString::number(bytes.size())));
    QCOMPARE(bytes.left(4), QByteArray("OggS"));
    const auto decoded = VoiceCodec::decode(bytes);
    QVERIFY(decoded.has_value());
    QCOMPARE(decoded->SampleRate, VoiceCodec::kDecodedRate);
    QCOMPARE(decoded->durationMs() / 20, clip.durationMs() / 20);
    QVERIFY2(decoded->peak() >= 0.25, qPrintable(QString::number(decoded->peak())));
}

void TestVoice::refusesWhatCannotBeKept()
{
    QString error;
    QCOMPARE(VoiceCodec::encode(tone(16000, 10.5), &error), QByteArray());
    QCOMPARE(error, QStringLiteral("The recording is longer than 10 seconds."));
    QCOMPARE(VoiceCodec::encode(PcmClip{}, &error), QByteArray());
    QCOMPARE(error, QStringLiteral("The recording is empty."));
    QCOMPARE(VoiceCodec::decode(QByteArray("OggS not really a stream")).has_value(), false);
}

QTEST_GUILESS_MAIN(TestVoice)
#include "test_voice.moc"
