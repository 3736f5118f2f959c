// The library's C interface: plain functions any host can find by name after loading it.

#include "hivelet.h"

#include "CHiveletCtrl.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace
{

std::string text(const char* value)
{
    return value ? value : "";
}

char* copyOut(const std::string& value)
{
    auto* result = static_cast<char*>(std::malloc(value.size() + 1));
    if (result)
        std::memcpy(result, value.c_str(), value.size() + 1);
    return result;
}

bool isClassName(const char* name)
{
    static const char wanted[] = "hivelet";
    if (!name || std::strlen(name) != sizeof wanted - 1)
        return false;
    for (std::size_t i = 0; i < sizeof wanted - 1; ++i) {
        const char c = name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] + 32) : name[i];
        if (c != wanted[i])
            return false;
    }
    return true;
}

} // namespace

extern "C" {

void* hivelet_create(const char* className)
{
    if (!isClassName(className))
        return nullptr;
    return new (std::nothrow) CHiveletCtrl;
}

void hivelet_destroy(void* control)
{
    delete static_cast<CHiveletCtrl*>(control);
}

int hivelet_save(void* control, const char* mainKey, const char* subKey, const char* valueName,
                 const char* setting)
{
    if (!control)
        return 0;
    try {
        const auto key = mainKey ? std::optional<std::string>(mainKey) : std::nullopt;
        return static_cast<CHiveletCtrl*>(control)->Save(key, text(subKey), text(valueName),
                                                         text(setting))
                   ? 1
                   : 0;
    } catch (...) {
        return 0;
    }
}

char* hivelet_get(void* control, const char* mainKey, const char* subKey, const char* valueName,
                  const char* defaultValue)
{
    if (!control)
        return nullptr;
    try {
        const auto key = mainKey ? std::optional<std::string>(mainKey) : std::nullopt;
        return copyOut(static_cast<CHiveletCtrl*>(control)->Get(key, text(subKey), text(valueName),
                                                                text(defaultValue)));
    } catch (...) {
        return nullptr;
    }
}

void hivelet_free(char* text)
{
    std::free(text);
}

const char* hivelet_version(void)
{
    return HIVELET_VERSION_TEXT;
}

const char* hivelet_description(void)
{
    return HIVELET_DESCRIPTION;
}

} // extern "C"
