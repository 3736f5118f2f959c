#include "PcmClip.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdlib>

qint64 PcmClip::durationMs() const
{
    return SampleRate > 0 ? qint64(Samples.size()) * 1000 / SampleRate : 0;
}

double PcmClip::peak() const
{
    int loudest = 0;
    for (qint16 s : Samples)
        loudest = std::max(loudest, std::abs(int(s)));
    return loudest / 32768.0;
}

qint64 PcmClip::audibleMs() const
{
    if (SampleRate <= 0)
        return 0;
    const qsizetype frame = std::max(1, SampleRate / 100);
    const double threshold = 32768.0 / 100.0;
    qint64 audible = 0;
    for (qsizetype start = 0; start + frame <= Samples.size(); start += frame) {
        double energy = 0;
        for (qsizetype i = start; i < start + frame; ++i)
            energy += double(Samples[i]) * Samples[i];
        if (std::sqrt(energy / double(frame)) > threshold)
            audible += 10;
    }
    return audible;
}

QByteArray PcmClip::toWav() const
{
    const quint32 dataBytes = quint32(Samples.size()) * 2;
    QByteArray wav;
    wav.reserve(44 + int(dataBytes));
    auto u32 = [&wav](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    auto u16 = [&wav](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    wav.append("RIFF");
    u32(36 + dataBytes);
    wav.append("WAVEfmt ");
    u32(16);
    u16(1); // integer PCM
    u16(1); // mono
    u32(quint32(SampleRate));
    u32(quint32(SampleRate) * 2);
    u16(2);
    u16(16);
    wav.append("data");
    u32(dataBytes);
    for (qint16 s : Samples)
        u16(quint16(s));
    return wav;
}
