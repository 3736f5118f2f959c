#pragma once

#include "CatalogueSong.h"
#include "SettingsSheet.h"

#include <QList>
#include <QtGlobal>

#include <random>

// Makes synthetic catalogues for benchmarks and stress tests: titles of one to six words and
// artists of one to three words (lengths like those of real catalogues), years, playing
// times, types, sub-types and special categories spread over what the settings offer.
// The same seed gives the same catalogue on every machine.
class CatalogueGenerator
{
  public:
    explicit CatalogueGenerator(quint32 seed = 1) : m_random(seed) {}

    // Songs with the keys 1..count.
    QList<CatalogueSong> generate(qint64 count, const SettingsSheet& settings);

  private:
    // A number in 0..bound-1, drawn the same way by every standard library.
    quint32 below(quint32 bound) { return quint32(m_random() % bound); }
    QString title();
    QString artist();

    std::mt19937 m_random;
};
