#pragma once

#include "HiveKey.h"

// A key of the file hive that stands in for the registry where there is none.
//
// The hive's top (HKEY_LOCAL_MACHINE) is the folder named by the environment variable
// HIVELET_HIVE; without it, $XDG_CONFIG_HOME/hivelet, else ~/.config/hivelet. Each key is a
// folder, each value a file "<name>.value" in its key's folder holding exactly the value's
// text (UTF-8), so ~/.config/hivelet/SOFTWARE/TARN/ZEL/Data/Ready.value holds "1".
//
// Key and value names are matched without regard to ASCII letter case, as in the registry:
// an existing folder or file whose name matches is used, a new one takes the name as given.
// Names are written so that no name can leave its key's folder: '%', '/', control
// characters and a leading '.' become %XX, and a key name ending in ".value" has that dot
// escaped so keys and values never share a name.
//
// A value is replaced whole: its text goes to a temporary file in the key's folder, is
// flushed to disk and renamed over the old file, so a reader sees the old or the new text,
// never a part. Writers of one key take turns through an advisory lock on the key folder's
// ".lock" file, which also keeps two writers from creating "ZEL" and "zel" side by side.
class FileHiveKey : public HiveKey
{
  public:
    // Takes over the open folder.
    explicit FileHiveKey(int folder) : m_folder(folder) {}
    ~FileHiveKey() override;
    FileHiveKey(const FileHiveKey&) = delete;
    FileHiveKey& operator=(const FileHiveKey&) = delete;

    std::optional<std::string> read(const std::string& name, std::size_t maxBytes) override;
    bool write(const std::string& name, const std::string& text) override;

    // The hive's top folder; empty when neither the variables nor a home folder are set.
    static std::string hiveRoot();
    // The file-system name of a key (forValue false) or value.
    static std::string fileName(const std::string& name, bool forValue);

  private:
    int m_folder;
};
