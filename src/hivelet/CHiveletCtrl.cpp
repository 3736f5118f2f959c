#include "CHiveletCtrl.h"

#include "HiveKey.h"

#include <vector>

namespace
{

// The maker's key under HKEY_LOCAL_MACHINE.
constexpr const char* MakerKey = "SOFTWARE\\TARN";

// Splits "SOFTWARE\TARN\MainKey\SubKey" into its keys. Nothing when the path is too long, is
// not valid UTF-8 or has an empty part (a missing or doubled backslash would otherwise make
// the call reach a different key than the one named).
std::optional<std::vector<std::string>> keyPath(const std::string& mainKey,
                                                const std::string& subKey)
{
    const std::string path = std::string(MakerKey) + '\\' + mainKey + '\\' + subKey;
    const auto length = CHiveletCtrl::characterCount(path);
    if (!length || *length > CHiveletCtrl::MaxKeyPathLength)
        return std::nullopt;
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = path.find('\\', start);
        parts.push_back(path.substr(start, end - start));
        if (parts.back().empty())
            return std::nullopt;
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

} // namespace

bool CHiveletCtrl::Save(const std::optional<std::string>& mainKey, const std::string& subKey,
                        const std::string& valueName, const std::string& setting) const
{
    if (!mainKey)
        return false;
    const auto path = keyPath(*mainKey, subKey);
    if (!path || !characterCount(valueName) || !characterCount(setting))
        return false;
    const auto key = HiveKey::create(*path, HiveKey::Access::Write);
    return key && key->write(valueName, setting);
}

std::string CHiveletCtrl::Get(const std::optional<std::string>& mainKey, const std::string& subKey,
                              const std::string& valueName, const std::string& defaultValue) const
{
    if (!mainKey)
        return {};
    const auto path = keyPath(*mainKey, subKey);
    if (!path || !characterCount(valueName))
        return defaultValue;
    const auto key = HiveKey::create(*path, HiveKey::Access::Read);
    if (!key)
        return defaultValue;
    // A UTF-8 character takes at most four bytes, so a longer value is too long anyway.
    const auto value = key->read(valueName, MaxSettingLength * 4);
    if (!value)
        return defaultValue;
    const auto length = characterCount(*value);
    if (!length || *length > MaxSettingLength)
        return defaultValue;
    return *value;
}

std::optional<std::size_t> CHiveletCtrl::characterCount(const std::string& text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            code = lead & 0x07;
        } else {
            return std::nullopt;
        }
        if (text.size() - i <= extra)
            return std::nullopt;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode are not valid UTF-8.
        if ((extra == 2 && code < 0x800) || (extra == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        i += extra + 1;
    }
    return count;
}
