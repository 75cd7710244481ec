// Windows: CreateFileA shared as fopen shares (an editor may hold the body
// open), the size, ReadFile until it is in or the file ends, CloseHandle.
#include <windows.h>

#include "Search/BodyFile.h"

BodyRead ReadBodyFile(const std::string& path, std::size_t limit, BodyBuffer& buffer) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
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
