#pragma once

#include "voice/PcmClip.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The compressed form of a recorded name, as the event file keeps it and the exports write
// it (NameVoice::kFileSuffix): Ogg Opus (RFC 7845), mono, 32 kbit/s tuned for speech, so ten seconds take about
// 40 KB and every browser and player of today plays the file as it is.
class VoiceCodec
{
  public:
    // The longest recording kept, and the most bytes a stored recording may take.
    static constexpr int kMaxSeconds = 10;
    static constexpr int kMaxBytes = 128 * 1024;
    // The sample rate of decoded sound (Opus always decodes at this rate).
    static constexpr int kDecodedRate = 48000;

    // The clip compressed; empty, with `error` set, when it is empty, longer than
    // kMaxSeconds, or the encoder fails.
    static QByteArray encode(const PcmClip& clip, QString* error = nullptr);
    // The sound of compressed bytes at kDecodedRate; no value for bytes that are not a
    // whole Ogg Opus stream.
    static std::optional<PcmClip> decode(const QByteArray& bytes);
};
