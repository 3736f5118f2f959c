#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

// One open key of the machine-wide settings hive. Closed when destroyed.
class HiveKey
{
  public:
    // What the caller will do with the key: read its values, or write them.
    enum class Access { Read, Write };

    virtual ~HiveKey() = default;

    // Opens the key at `path` (its parts, outermost first, each non-empty) under the hive's
    // top for `access` only, creating it and any missing parent keys. Returns nullptr when it
    // cannot. A key that may be read but not written opens for Read.
    static std::unique_ptr<HiveKey> create(const std::vector<std::string>& path, Access access);

    // The text of the value `name` (UTF-8), or nothing when the value is missing, is not
    // text, cannot be read or is longer than `maxBytes` bytes of UTF-8.
    virtual std::optional<std::string> read(const std::string& name, std::size_t maxBytes) = 0;

    // Stores `text` as the value `name`, replacing it whole. True when written.
    virtual bool write(const std::string& name, const std::string& text) = 0;
};
