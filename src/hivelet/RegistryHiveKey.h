#pragma once

#include "HiveKey.h"

#include <windows.h>

// A key of the Windows registry under HKEY_LOCAL_MACHINE, opened for querying or for setting
// values.
class RegistryHiveKey : public HiveKey
{
  public:
    // Takes over the open key.
    explicit RegistryHiveKey(HKEY key) : m_key(key) {}
    ~RegistryHiveKey() override;
    RegistryHiveKey(const RegistryHiveKey&) = delete;
    RegistryHiveKey& operator=(const RegistryHiveKey&) = delete;

    std::optional<std::string> read(const std::string& name, std::size_t maxBytes) override;
    bool write(const std::string& name, const std::string& text) override;

  private:
    HKEY m_key;
};
