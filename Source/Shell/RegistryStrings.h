// RegistryStrings: the two text values the program keeps under
// HKEY_CURRENT_USER (the first-start marker and the start at log-on).
#pragma once

// Size of the caller's buffer for ReadRegistryString.
constexpr unsigned kRegistryStringSize = 1024;

// Reads the value into text (kRegistryStringSize bytes, always terminated).
// False, text untouched, when the key cannot be opened or the value read.
bool ReadRegistryString(const char* subKey, const char* valueName, char* text);

// Creates or opens the key and stores text as REG_SZ. False when the key
// cannot be created or the value set.
bool WriteRegistryString(const char* subKey, const char* valueName, const char* text);
