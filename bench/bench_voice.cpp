// Prints how fast names are said and recordings compressed.
//   build/bench/bench_voice [--wav FILE]
// With --wav, the English "AH-nah SMITH" is also written to FILE as a WAVE file.
#include "store/EventItems.h"
#include "store/NameVoiceStore.h"
#include "store/StoreSession.h"
#include "store/frmData.h"
#include "voice/SpeechEngine.h"
#include "voice/VoiceCodec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

static double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

static double msSince(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString name = QStringLiteral("AH-nah SMITH");
    const QString threeWords = QStringLiteral("Anna Maria Smith");

    QElapsedTimer t;
    t.start();
    SpeechEngine engine;
    std::printf("engine set-up (first in the process):     %8.1f ms\n", msSince(t));
    if (!engine.isReady()) {
        std::printf("engine not ready: %s\n", qPrintable(engine.error()));
        return 1;
    }
    t.restart();
    const QList<SpeechVoice> voices = engine.voices();
    std::printf("list of languages (%lld):                 %8.1f ms\n", qlonglong(voices.size()),
                msSince(t));

    for (const QString& language : {QStringLiteral("en-us"), QStringLiteral("es"),
                                    QStringLiteral("sr"), QStringLiteral("vi")}) {
        t.restart();
        const auto first = engine.speak(threeWords, language);
        const double firstMs = msSince(t);
        std::vector<double> runs;
        for (int i = 0; i < 20; ++i) {
            t.restart();
            engine.speak(threeWords, language);
            runs.push_back(msSince(t));
        }
        std::printf("\"%s\" in %-5s: first %6.1f ms, then median %6.1f ms, sound %5lld ms\n",
                    qPrintable(threeWords), qPrintable(language), firstMs, median(runs),
                    first ? first->durationMs() : -1LL);
    }
    // Switching language at each press: the voice is loaded each time.
    std::vector<double> switching;
    for (int i = 0; i < 10; ++i) {
        t.restart();
        engine.speak(threeWords, i % 2 ? QStringLiteral("es") : QStringLiteral("en-us"));
        switching.push_back(msSince(t));
    }
    std::printf("3 words, language changed at every press: median %6.1f ms\n", median(switching));

    const auto clip = engine.speak(name, QStringLiteral("en-us"));
    std::vector<double> encodes, decodes;
    QByteArray bytes;
    for (int i = 0; i < 10; ++i) {
        t.restart();
        bytes = VoiceCodec::encode(*clip);
        encodes.push_back(msSince(t));
        t.restart();
        VoiceCodec::decode(bytes);
        decodes.push_back(msSince(t));
    }
    std::printf("\"%s\": %lld ms of sound, %lld bytes compressed; encode %.1f ms, decode %.1f ms\n",
                qPrintable(name), clip->durationMs(), qlonglong(bytes.size()), median(encodes),
                median(decodes));

    // Ten seconds of a voice-like sound (a tone with a slow rise and fall), as long as a
    // recording may be.
    PcmClip ten;
    ten.SampleRate = 48000;
    for (int i = 0; i < 10 * 48000; ++i) {
        const double s = i / 48000.0;
        ten.Samples.append(qint16(9000 * std::sin(2 * M_PI * 180 * s) *
                                  (0.6 + 0.4 * std::sin(2 * M_PI * 3 * s))));
    }
    t.restart();
    const QByteArray tenBytes = VoiceCodec::encode(ten);
    std::printf("10 s recording: %lld bytes compressed in %.1f ms\n", qlonglong(tenBytes.size()),
                msSince(t));

    // The party page's load with 30 recorded names (member and escort of 15 rows) reads
    // their voices along with the rows.
    QTemporaryDir dir;
    frmData maker;
    if (!maker.MakeZELdatabase(dir.path()))
        return 1;
    StoreSession store(dir.filePath(QStringLiteral("event.mdb")), QString());
    QList<PartyMember> party;
    for (int i = 0; i < 15; ++i) {
        PartyMember m;
        m.Name = QStringLiteral("Member %1").arg(i);
        m.Escort = QStringLiteral("Escort %1").arg(i);
        m.MemberVoice = {QStringLiteral("en-us"), tenBytes, true};
        m.EscortVoice = {QStringLiteral("es"), tenBytes, true};
        party << m;
    }
    if (!store.isOpen() || !EventItems::saveParty(store.items(), party, nullptr) ||
        !store.voices().saveParty(party))
        return 1;
    std::vector<double> reads, plain;
    for (int i = 0; i < 10; ++i) {
        t.restart();
        QList<PartyMember> read = EventItems::readParty(store.items());
        plain.push_back(msSince(t));
        store.voices().readParty(read);
        reads.push_back(msSince(t));
    }
    std::printf("party of 15 rows: read %.2f ms without voices, %.2f ms with 30 recorded names "
                "(%lld KB)\n",
                median(plain), median(reads), qlonglong(30 * tenBytes.size() / 1024));

    const int wavAt = int(args.indexOf(QStringLiteral("--wav")));
    if (wavAt > 0 && wavAt + 1 < args.size()) {
        QFile wav(args.at(wavAt + 1));
        if (!wav.open(QIODevice::WriteOnly) || wav.write(clip->toWav()) < 0)
            return 1;
        std::printf("wrote %s\n", qPrintable(wav.fileName()));
    }
    return 0;
}
