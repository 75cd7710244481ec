// RegistryStrings: REG_SZ values under HKEY_CURRENT_USER.
#include "Shell/RegistryStrings.h"

#include <windows.h>

#include <cstring>

bool ReadRegistryString(const char* subKey, const char* valueName, char* text) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  // One byte more than the caller's buffer holds, so that a value stored
  // without its terminator still ends inside it.
  char buffer[kRegistryStringSize + 1];
  std::memset(buffer, 0, sizeof buffer);
  DWORD size = kRegistryStringSize;
  LONG status = RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return false;
  buffer[kRegistryStringSize - 1] = '\0';
  std::memcpy(text, buffer, kRegistryStringSize);
  return true;
}

bool WriteRegistryString(const char* subKey, const char* valueName, const char* text) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return false;
  LONG status = RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                               static_cast<DWORD>(std::strlen(text) + 1));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}
