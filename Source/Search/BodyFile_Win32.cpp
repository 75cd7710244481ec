// Windows: per body CreateFileA on the folder's path and the name, shared as
// fopen shares (an editor may hold the body open), the size, ReadFile until
// it is in or the file ends, CloseHandle.
#include <windows.h>

#include <cstring>

#include "Search/BodyFile.h"

BodyFolder::BodyFolder(const std::string& folder) : m_folder(folder) {}

BodyFolder::~BodyFolder() = default;

BodyRead BodyFolder::Read(const char* name, std::size_t limit, BodyBuffer& buffer) const {
  // On the stack: Read runs on several threads.
  char path[1024];
  const std::size_t nameLength = std::strlen(name);
  if (m_folder.size() + nameLength >= sizeof path) return BodyRead::Missing;
  std::memcpy(path, m_folder.data(), m_folder.size());
  std::memcpy(path + m_folder.size(), name, nameLength + 1);
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return BodyRead::Missing;
  LARGE_INTEGER size = {};
  BodyRead result = BodyRead::Damaged;
  if (GetFileSizeEx(file, &size) && size.QuadPart >= 0 && static_cast<unsigned long long>(size.QuadPart) <= limit) {
    const std::size_t length = static_cast<std::size_t>(size.QuadPart);
    char* data = buffer.Reserve(length);
    std::size_t got = 0;
    result = BodyRead::Read;
    while (got < length) {
      DWORD step = 0;
      if (!ReadFile(file, data + got, static_cast<DWORD>(length - got), &step, nullptr)) {
        result = BodyRead::Damaged;
        break;
      }
      if (step == 0) break;
      got += step;
    }
    buffer.SetSize(got);
  }
  CloseHandle(file);
  return result;
}
