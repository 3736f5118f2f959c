#include "VoiceCodec.h"

#include <opusenc.h>
#include <opusfile.h>

#include <QCoreApplication>

#include <memory>

namespace
{
constexpr int kBitRate = 32000;

int appendPage(void* user, const unsigned char* data, opus_int32 length)
{
    static_cast<QByteArray*>(user)->append(reinterpret_cast<const char*>(data), length);
    return 0;
}

int closeNothing(void*)
{
    return 0;
}

QString tr(const char* text)
{
    return QCoreApplication::translate("VoiceCodec", text);
}
} // namespace

QByteArray VoiceCodec::encode(const PcmClip& clip, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    if (clip.isEmpty() || clip.SampleRate <= 0)
        return fail(tr("The recording is empty."));
    if (clip.durationMs() > kMaxSeconds * 1000)
        return fail(tr("The recording is longer than %1 seconds.").arg(kMaxSeconds));

    QByteArray bytes;
    const OpusEncCallbacks callbacks{appendPage, closeNothing};
    std::unique_ptr<OggOpusComments, decltype(&ope_comments_destroy)> comments(
        ope_comments_create(), ope_comments_destroy);
    if (!comments)
        return fail(tr("The sound encoder could not be started."));
    int status = OPE_OK;
    std::unique_ptr<OggOpusEnc, decltype(&ope_encoder_destroy)> encoder(
        ope_encoder_create_callbacks(&callbacks, &bytes, comments.get(), clip.SampleRate, 1, 0,
                                     &status),
        ope_encoder_destroy);
    if (!encoder || status != OPE_OK)
        return fail(tr("The sound encoder could not be started."));
    ope_encoder_ctl(encoder.get(), OPUS_SET_BITRATE(kBitRate));
    ope_encoder_ctl(encoder.get(), OPUS_SET_SIGNAL(OPUS_SIGNAL_VOICE));
    if (ope_encoder_write(encoder.get(), clip.Samples.constData(), int(clip.Samples.size())) !=
            OPE_OK ||
        ope_encoder_drain(encoder.get()) != OPE_OK)
        return fail(tr("The recording could not be compressed."));
    if (bytes.size() > kMaxBytes)
        return fail(tr("The recording is too large to keep."));
    return bytes;
}

std::optional<PcmClip> VoiceCodec::decode(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return std::nullopt;
    int status = 0;
    std::unique_ptr<OggOpusFile, decltype(&op_free)> file(
        op_open_memory(reinterpret_cast<const unsigned char*>(bytes.constData()),
                       size_t(bytes.size()), &status),
        op_free);
    if (!file || status != 0)
        return std::nullopt;
    PcmClip clip;
    clip.SampleRate = kDecodedRate;
    constexpr int kChunk = 5760; // 120 ms at 48 kHz, the longest Opus packet
    qint16 stereo[kChunk * 2];
    for (;;) {
        const int read = op_read_stereo(file.get(), stereo, kChunk * 2);
        if (read == 0)
            break;
        if (read < 0)
            return std::nullopt;
        for (int i = 0; i < read; ++i)
            clip.Samples.append(qint16((int(stereo[2 * i]) + stereo[2 * i + 1]) / 2));
        if (clip.Samples.size() > (kMaxSeconds + 1) * kDecodedRate)
            return std::nullopt;
    }
    return clip;
}
