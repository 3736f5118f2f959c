#include "CatalogueBuilder.h"

#include "CatalogueGenerator.h"
#include "CatalogueWriter.h"
#include "CsvReader.h"
#include "SettingsSheet.h"
#include "SongListReader.h"

namespace
{
bool loadSettings(const QString& file, SettingsSheet* settings, QString* error)
{
    CsvReader csv;
    if (!csv.readFile(file)) {
        *error = csv.errorString();
        return false;
    }
    if (!settings->load(csv, file)) {
        *error = settings->errorString();
        return false;
    }
    return true;
}
} // namespace

bool CatalogueBuilder::build(const QString& songsFile, const QString& settingsFile,
                             const QString& outFile)
{
    m_songCount = m_settingCount = 0;
    SettingsSheet settings;
    if (!loadSettings(settingsFile, &settings, &m_error))
        return false;

    CsvReader csv;
    if (!csv.readFile(songsFile)) {
        m_error = csv.errorString();
        return false;
    }
    SongListReader songs(settings);
    if (!songs.read(csv, songsFile)) {
        m_error = songs.errorString();
        return false;
    }

    CatalogueWriter writer;
    if (!writer.write(outFile, settings, songs.songs(), CatalogueWriter::SixteenBit)) {
        m_error = writer.errorString();
        return false;
    }
    m_songCount = songs.songs().size();
    m_settingCount = settings.items().size();
    return true;
}

bool CatalogueBuilder::generate(qint64 count, quint32 seed, bool allowBeyond16Bit,
                                const QString& settingsFile, const QString& outFile)
{
    m_songCount = m_settingCount = 0;
    if (count < 1) {
        m_error = QStringLiteral("the number of songs must be at least 1");
        return false;
    }
    if (count > kMaxKey16 && !allowBeyond16Bit) {
        m_error = QStringLiteral("%1 songs need keys above %2, which the wizard cannot hold; "
                                 "use --allow-beyond-16-bit for a stress catalogue")
                      .arg(count)
                      .arg(kMaxKey16);
        return false;
    }
    if (count > kMaxStressCount) {
        m_error = QStringLiteral("at most %1 songs can be generated").arg(kMaxStressCount);
        return false;
    }

    SettingsSheet settings = SettingsSheet::synthetic();
    if (!settingsFile.isEmpty() && !loadSettings(settingsFile, &settings, &m_error))
        return false;

    CatalogueGenerator generator(seed);
    const QList<CatalogueSong> songs = generator.generate(count, settings);
    CatalogueWriter writer;
    if (!writer.write(outFile, settings, songs,
                      count > kMaxKey16 ? CatalogueWriter::Unbounded
                                        : CatalogueWriter::SixteenBit)) {
        m_error = writer.errorString();
        return false;
    }
    m_songCount = songs.size();
    m_settingCount = settings.items().size();
    return true;
}
