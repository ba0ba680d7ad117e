#include "platform/win32/win32_registry_queries.h"

#include <windows.h>

namespace kalmor {
namespace {

// The predefined roots are negative 32-bit numbers, sign-extended in a
// 64-bit handle (HKEY_LOCAL_MACHINE is 0xFFFFFFFF80000002 there).
HKEY RootKey(std::uint32_t root) {
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

HKEY AsKey(RegistryKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

std::int32_t Win32RegistryQueries::regOpenKeyEx(std::uint32_t root, const std::string& path,
                                                std::uint32_t options, std::uint32_t access,
                                                RegistryKey& key) {
  HKEY opened = nullptr;
  const LONG status = ::RegOpenKeyExA(RootKey(root), path.c_str(), options, access, &opened);
  if (status == ERROR_SUCCESS) key = reinterpret_cast<RegistryKey>(opened);
  return status;
}

std::int32_t Win32RegistryQueries::regQueryValueEx(RegistryKey key, const std::string& valueName,
                                                   char* data, std::uint32_t& size) {
  DWORD bytes = size;
  const LONG status = ::RegQueryValueExA(AsKey(key), valueName.c_str(), nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(data), &bytes);
  size = bytes;
  return status;
}

std::int32_t Win32RegistryQueries::regCloseKey(RegistryKey key) { return ::RegCloseKey(AsKey(key)); }

}  // namespace kalmor
