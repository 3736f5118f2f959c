// The settings library against the Windows registry. Loads hivelet.dll by name, as a host
// does, and checks each call's result and what it left under HKEY_LOCAL_MACHINE\SOFTWARE\TARN.
// Needs a machine (or Wine prefix) where the library has not been used, and rights to write
// HKEY_LOCAL_MACHINE. Leaves ZEL\Data\Ready = "1" behind, as a first run of the wizard does.

#include <windows.h>

#include <sddl.h>

#include <cstdio>
#include <cwchar>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

namespace
{

int passed = 0;
int failed = 0;

#define CHECK(condition, what) check((condition), #condition, (what), __LINE__)

void check(bool ok, const char* condition, const std::string& what, int line)
{
    ++(ok ? passed : failed);
    if (!ok)
        std::printf("test_registry.cpp:%d: failed: %s [%s]\n", line, condition, what.c_str());
}

std::wstring wide(const std::string& utf8)
{
    std::wstring result(utf8.size(), L'\0');
    result.resize(static_cast<std::size_t>(
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(),
                              static_cast<int>(result.size()))));
    return result;
}

const std::wstring Tarn = L"SOFTWARE\\TARN";

// The library's functions, found by name in hivelet.dll.
struct Library {
    void* (*create)(const char*);
    void (*destroy)(void*);
    int (*save)(void*, const char*, const char*, const char*, const char*);
    char* (*get)(void*, const char*, const char*, const char*, const char*);
    void (*release)(char*);
    void* control;

    bool load()
    {
        const HMODULE dll = ::LoadLibraryW(L"hivelet.dll");
        CHECK(dll, "hivelet.dll beside the program");
        if (!dll)
            return false;
        bool all = true;
        const auto find = [&](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                reinterpret_cast<void (*)()>(::GetProcAddress(dll, name)));
            CHECK(function, name);
            all = all && function;
        };
        find(create, "hivelet_create");
        find(destroy, "hivelet_destroy");
        find(save, "hivelet_save");
        find(get, "hivelet_get");
        find(release, "hivelet_free");
        control = all ? create("Hivelet") : nullptr;
        return control;
    }
    std::string Get(const char* main, const char* sub, const char* name, const char* dflt) const
    {
        char* text = get(control, main, sub, name, dflt);
        const std::string result = text ? text : "<null>";
        release(text);
        return result;
    }
};

// A value as the registry holds it; type REG_NONE when it cannot be read.
struct Stored {
    DWORD type = REG_NONE;
    std::wstring text;
};

Stored stored(const std::wstring& key, const std::wstring& name)
{
    Stored value;
    wchar_t buffer[512] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                       &value.type, buffer, &size) != ERROR_SUCCESS)
        value.type = REG_NONE;
    value.text.assign(buffer, size / sizeof(wchar_t));
    if (!value.text.empty() && value.text.back() == L'\0')
        value.text.pop_back();
    return value;
}

// Every key below `key` as a path relative to it, with its number of values.
using Tree = std::set<std::pair<std::wstring, DWORD>>;
Tree tree(const std::wstring& key, const std::wstring& prefix = L"")
{
    Tree keys;
    HKEY open = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &open) != ERROR_SUCCESS)
        return keys;
    std::vector<std::wstring> children;
    wchar_t name[256];
    for (DWORD i = 0, size = 256;
         ::RegEnumKeyExW(open, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, size = 256)
        children.emplace_back(name, size);
    DWORD values = 0;
    ::RegQueryInfoKeyW(open, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                       nullptr, nullptr, nullptr);
    ::RegCloseKey(open);
    if (!prefix.empty())
        keys.emplace(prefix.substr(0, prefix.size() - 1), values);
    for (const auto& child : children)
        keys.merge(tree(key + L'\\' + child, prefix + child + L'\\'));
    return keys;
}

// Sets the rights on `key` to those of the SDDL text, as an administrator or installer would.
void restrict(const std::wstring& key, const wchar_t* rights)
{
    HKEY open = nullptr;
    PSECURITY_DESCRIPTOR security = nullptr;
    CHECK(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, WRITE_DAC, &open) == ERROR_SUCCESS &&
              ::ConvertStringSecurityDescriptorToSecurityDescriptorW(rights, SDDL_REVISION_1,
                                                                     &security, nullptr) &&
              ::RegSetKeySecurity(open, DACL_SECURITY_INFORMATION, security) == ERROR_SUCCESS,
          "restrict key");
    ::LocalFree(security);
    ::RegCloseKey(open);
}

} // namespace

int main()
{
    Library hivelet{};
    if (!hivelet.load()) {
        std::printf("%d passed, %d failed\n", passed, failed);
        return 1;
    }

    // A fresh machine. A NULL main key writes nothing and reads as the empty text.
    CHECK(!hivelet.save(hivelet.control, nullptr, "Data", "Ready", "1"), "null main key");
    CHECK(hivelet.Get(nullptr, "Data", "Ready", "0").empty(), "null main key");
    HKEY tarn = nullptr;
    CHECK(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, Tarn.c_str(), 0, KEY_READ, &tarn) ==
              ERROR_FILE_NOT_FOUND,
          "nothing made for a null main key");
    // The first-run flag: the default, and the empty key left behind.
    CHECK(hivelet.Get("ZEL", "Data", "Ready", "0") == "0", "first run");
    CHECK((tree(Tarn) == Tree{{L"ZEL", 0}, {L"ZEL\\Data", 0}}), "Get leaves the empty keys");

    // Save, then Get with default "d": what each call returns and what the registry holds.
    const std::string x30(30, 'x'), x31(31, 'x'), x200(200, 'x'), m42(42, 'M'), s42(42, 'S'),
        n43(43, 'N');
    std::string party30, e42;
    for (int i = 0; i < 42; ++i) {
        party30 += i < 30 ? "\xF0\x9F\x8E\x89" : ""; // one character, two UTF-16 units
        e42 += "\xC3\xA9";
    }
    const std::string party31 = party30 + "\xF0\x9F\x8E\x89";
    struct Call {
        std::string main, sub, name, setting;
        bool saved;
        std::string got;
    };
    const Call calls[] = {
        {"ZEL", "Data", "Ready", "2", true, "2"},
        {"zel", "DATA", "rEADY", "1", true, "1"}, // the same key and value, names kept
        {"ZEL", "Data", "Thirty", x30, true, x30},
        {"ZEL", "Data", "ThirtyOne", x31, true, "d"}, // written all the same
        {"ZEL", "Data", "Long", x200, true, "d"},
        {"ZEL", "Data", "Party30", party30, true, party30},
        {"ZEL", "Data", "Party31", party31, true, "d"},
        {"ZEL", "Data", "Empty", "", true, ""},
        {"ZEL", "Data", "F\xC3\xAAte \xE6\x97\xA5", "Gr\xC3\xBC\xC3\x9F\x65 \xE6\x97\xA5 \xCE\xA9",
         true, "Gr\xC3\xBC\xC3\x9F\x65 \xE6\x97\xA5 \xCE\xA9"},
        {"ZEL", "Data", "Broken", "\xC3(", false, "d"},
        {"ZEL\\Sub", "Data", "V", "deep", true, "deep"},
        {m42, s42, "V", "99", true, "99"},
        {e42, s42, "V", "99 wide", true, "99 wide"},
        {n43, s42, "V", "100", false, "d"},
        {"", "Data", "V", "x", false, "d"},
        {"ZEL", "", "V", "x", false, "d"},
        {"ZEL\\", "Data", "V", "x", false, "d"},
        {"\\ZEL", "Data", "V", "x", false, "d"},
        {"ZEL\\\\X", "Data", "V", "x", false, "d"},
    };
    for (const auto& call : calls) {
        const std::string what = call.main + '\\' + call.sub + ' ' + call.name;
        CHECK(hivelet.save(hivelet.control, call.main.c_str(), call.sub.c_str(), call.name.c_str(),
                           call.setting.c_str()) == call.saved,
              what);
        CHECK(hivelet.Get(call.main.c_str(), call.sub.c_str(), call.name.c_str(), "d") == call.got,
              what);
        if (call.saved) {
            const Stored value =
                stored(Tarn + L'\\' + wide(call.main) + L'\\' + wide(call.sub), wide(call.name));
            CHECK(value.type == REG_SZ && value.text == wide(call.setting), what);
        }
    }

    // Values another program wrote: only a string is a setting; a string ends at its first
    // NUL, with or without one stored.
    struct Raw {
        const wchar_t* name;
        DWORD type;
        std::wstring data;
        const char* got;
    };
    const Raw raws[] = {
        {L"Dword", REG_DWORD, std::wstring(L"\x0001\x0000", 2), "d"},
        {L"Binary", REG_BINARY, std::wstring(L"1\0", 2), "d"},
        {L"Multi", REG_MULTI_SZ, std::wstring(L"1\0\0", 3), "d"},
        {L"Expand", REG_EXPAND_SZ, std::wstring(L"1\0", 2), "d"},
        {L"NoNul", REG_SZ, L"12", "12"},
        {L"Nothing", REG_SZ, L"", ""},
        {L"InnerNul", REG_SZ, std::wstring(L"a\0b\0", 4), "a"},
        {L"LoneHalf", REG_SZ, std::wstring(L"\xD83C\0", 2), "d"},
    };
    HKEY data = nullptr;
    ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, (Tarn + L"\\ZEL\\Data").c_str(), 0, KEY_SET_VALUE, &data);
    for (const auto& raw : raws) {
        ::RegSetValueExW(data, raw.name, 0, raw.type,
                         reinterpret_cast<const BYTE*>(raw.data.data()),
                         static_cast<DWORD>(raw.data.size() * sizeof(wchar_t)));
        const std::string name(raw.name, raw.name + std::wcslen(raw.name));
        CHECK(hivelet.Get("ZEL", "Data", name.c_str(), "d") == raw.got, name);
    }
    ::RegCloseKey(data);
    // Save replaces a value of another type with a string.
    CHECK(hivelet.save(hivelet.control, "ZEL", "Data", "Dword", "7") &&
              hivelet.Get("ZEL", "Data", "Dword", "d") == "7" &&
              stored(Tarn + L"\\ZEL\\Data", L"Dword").type == REG_SZ,
          "string over a number");

    // Keys the library cannot open or create. A sub-key of a volatile key cannot be made
    // non-volatile. A key users may only read, as HKEY_LOCAL_MACHINE\SOFTWARE is for them,
    // still gives its settings; one they may also set values in takes new settings.
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, (Tarn + L"\\Volatile").c_str(), 0, nullptr,
                      REG_OPTION_VOLATILE, KEY_READ, nullptr, &key, nullptr);
    ::RegCloseKey(key);
    CHECK(!hivelet.save(hivelet.control, "Volatile", "Data", "V", "x"), "volatile");
    CHECK(hivelet.Get("Volatile", "Data", "V", "d") == "d", "volatile");
    CHECK(hivelet.save(hivelet.control, "Locked", "Data", "Ready", "1"), "read-only key");
    restrict(Tarn + L"\\Locked\\Data", L"D:P(A;;KR;;;WD)");
    CHECK(hivelet.Get("Locked", "Data", "Ready", "0") == "1", "read-only key");
    CHECK(!hivelet.save(hivelet.control, "Locked", "Data", "Ready", "2"), "read-only key");
    CHECK(stored(Tarn + L"\\Locked\\Data", L"Ready").text == L"1", "read-only key");
    CHECK(hivelet.Get("Shared", "Data", "Ready", "0") == "0", "key users may set");
    restrict(Tarn + L"\\Shared\\Data", L"D:P(A;;0x2001b;;;WD)"); // read and set values
    CHECK(hivelet.save(hivelet.control, "Shared", "Data", "Ready", "1"), "key users may set");
    CHECK(hivelet.Get("Shared", "Data", "Ready", "0") == "1", "key users may set");

    // The whole tree: one key per name whatever its letter case, none for refused paths.
    const Tree expected = {
        {L"ZEL", 0},          {L"ZEL\\Data", 16},
        {L"ZEL\\Sub", 0},     {L"ZEL\\Sub\\Data", 1},
        {wide(m42), 0},       {wide(m42) + L'\\' + wide(s42), 1},
        {wide(e42), 0},       {wide(e42) + L'\\' + wide(s42), 1},
        {L"Volatile", 0},     {L"Locked", 0},
        {L"Locked\\Data", 1}, {L"Shared", 0},
        {L"Shared\\Data", 1},
    };
    const Tree keys = tree(Tarn);
    CHECK(keys == expected, "keys under SOFTWARE\\TARN");
    for (const auto& [name, values] : keys) {
        if (!expected.count({name, values}))
            std::printf("  unexpected: %ls, %lu values\n", name.c_str(), values);
    }
    CHECK(stored(Tarn + L"\\ZEL\\Data", L"Ready").text == L"1", "first-run flag set");

    hivelet.destroy(hivelet.control);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
