#pragma once

#include <optional>
#include <string>

// The settings control: reads and writes named text settings under the maker's key,
// HKEY_LOCAL_MACHINE\SOFTWARE\TARN\MainKey\SubKey. It keeps no state; every call opens and
// closes its own key. Texts are UTF-8; an absent text is std::nullopt.
class CHiveletCtrl
{
  public:
    // The longest setting Get returns, and the longest whole key path, in characters.
    static constexpr std::size_t MaxSettingLength = 30;
    static constexpr std::size_t MaxKeyPathLength = 99;

    // True when `setting` was stored as the value `valueName`.
    bool Save(const std::optional<std::string>& mainKey, const std::string& subKey,
              const std::string& valueName, const std::string& setting) const;

    // The stored value, or `defaultValue` when it cannot be read or is too long; the empty
    // text when mainKey is absent. Creates the key when it is missing.
    std::string Get(const std::optional<std::string>& mainKey, const std::string& subKey,
                    const std::string& valueName, const std::string& defaultValue) const;

    // Number of characters of a valid UTF-8 text; nothing when it is not valid UTF-8.
    static std::optional<std::size_t> characterCount(const std::string& text);
};
