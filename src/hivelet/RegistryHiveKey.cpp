#include "RegistryHiveKey.h"

namespace
{

std::optional<std::wstring> wide(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                             static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                          result.data(), length);
    return result;
}

std::optional<std::string> narrow(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length =
        ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(),
                              static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::nullopt;
    std::string result(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                          result.data(), length, nullptr, nullptr);
    return result;
}

} // namespace

// Asks only for the rights the call needs. HKEY_LOCAL_MACHINE\SOFTWARE lets every user read but
// only administrators write: with full access a user without them could not even read the
// setting an installer or administrator stored, and a key an administrator opened for writing
// to users would still refuse them.
std::unique_ptr<HiveKey> HiveKey::create(const std::vector<std::string>& path, Access access)
{
    std::string joined;
    for (const auto& part : path)
        joined += (joined.empty() ? "" : "\\") + part;
    const auto name = wide(joined);
    if (!name)
        return nullptr;
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, name->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          access == Access::Write ? KEY_SET_VALUE : KEY_QUERY_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<RegistryHiveKey>(key);
}

RegistryHiveKey::~RegistryHiveKey()
{
    ::RegCloseKey(m_key);
}

std::optional<std::string> RegistryHiveKey::read(const std::string& name, std::size_t maxBytes)
{
    const auto valueName = wide(name);
    if (!valueName)
        return std::nullopt;
    // Ask for the size first: every UTF-16 unit makes at least one byte of UTF-8, so a value
    // of more units than maxBytes (plus its NUL) is too long without reading it.
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(m_key, valueName->c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ || size > (maxBytes + 1) * sizeof(wchar_t))
        return std::nullopt;
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = size;
    if (::RegQueryValueExW(m_key, valueName->c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer.data()), &got) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    // The stored string may or may not carry its terminating NUL; it ends at the first one.
    buffer.resize(got / sizeof(wchar_t));
    const auto end = buffer.find(L'\0');
    if (end != std::wstring::npos)
        buffer.resize(end);
    const auto text = narrow(buffer);
    if (!text || text->size() > maxBytes)
        return std::nullopt;
    return text;
}

bool RegistryHiveKey::write(const std::string& name, const std::string& text)
{
    const auto valueName = wide(name);
    const auto setting = wide(text);
    if (!valueName || !setting)
        return false;
    const auto bytes = static_cast<DWORD>((setting->size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(m_key, valueName->c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(setting->c_str()),
                            bytes) == ERROR_SUCCESS;
}
