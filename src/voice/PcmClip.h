#pragma once

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

// A stretch of mono sound as signed 16-bit samples at one sample rate: what the speech
// engine makes, what a recording captures and what a stored recording decodes to.
struct PcmClip {
    int SampleRate = 0;
    QVector<qint16> Samples;

    bool isEmpty() const { return Samples.isEmpty(); }
    qint64 durationMs() const;
    // The loudest sample as a share of full scale (0 to 1).
    double peak() const;
    // How long the sound is audible: the 10 ms frames whose loudness is above 1/100 of full
    // scale (-40 dBFS), in milliseconds.
    qint64 audibleMs() const;
    // The clip as a plain RIFF WAVE file (16-bit PCM, mono).
    QByteArray toWav() const;

    bool operator==(const PcmClip&) const = default;
};
