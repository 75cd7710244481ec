// Fast-text attachments through CFile. Every failure ends in one message box
// and a false result; the file is closed on every path by CFile's destructor.
#include "Managers/FastTextAttachment.h"

#include <windows.h>

#include <memory>
#include <new>

#include "Library/CFile.h"
#include "Library/CMemoryException.h"
#include "Library/CReplacingFile.h"
#include "Records/AttachmentName.h"
#include "Records/DataFolders.h"
#include "Records/MessageBoxSeam.h"

namespace {

void ShowError(const char* text) {
  ShowMessageBox(nullptr, text, "Quillmate", kMbOk | kMbIconError);
}

// A stored name that is not a bare file name is never opened: it fails as a
// missing file would.
std::string PathOrThrow(const char* storedName) {
  std::string path;
  if (!AttachmentPath(gFastTextFolder, storedName, path)) throw CFileException(ERROR_FILE_NOT_FOUND);
  return path;
}

// Runs a file action; a failure shows its text (fileErrorText when given,
// else the platform's) and gives false.
template <class Action>
bool ReportingFailures(const char* fileErrorText, Action&& action) {
  try {
    action();
    return true;
  } catch (const CFileException& error) {
    ShowError(fileErrorText ? fileErrorText : error.GetErrorText().GetString());
  } catch (const std::bad_alloc&) {
    ShowError("Out of memory");
  } catch (const CMemoryException&) {
    ShowError("Out of memory");
  }
  return false;
}

void WriteWhole(CFile& file, const std::string& text) {
  unsigned long written = file.Write(text.data(), static_cast<unsigned long>(text.size()));
  if (written != text.size()) throw CFileException(ERROR_WRITE_FAULT);
}

}  // namespace

bool ReadFastTextAttachment(const char* storedName, std::string& text) {
  text.clear();
  const bool read = ReportingFailures(nullptr, [&] {
    CFile file;
    file.Open(PathOrThrow(storedName).c_str(), CFile::kRead | CFile::kShareRead);
    unsigned long high = 0;
    unsigned long length = file.GetLength(&high);
    if (high != 0 || length == 0xFFFFFFFFul) throw std::bad_alloc();
    std::unique_ptr<char[]> buffer(new char[length + 1]());
    unsigned long count = file.Read(buffer.get(), length);
    text.assign(buffer.get(), count);
    file.Close();
  });
  if (!read) text.clear();
  return read;
}

bool RewriteFastTextAttachment(const char* storedName, const std::string& text) {
  return ReportingFailures(nullptr, [&] {
    CReplacingFile file(PathOrThrow(storedName).c_str());
    file.Write(text.data(), static_cast<unsigned long>(text.size()));
    file.Commit();
  });
}

bool CreateFastTextAttachment(const std::string& fullPath, const std::string& text) {
  bool created = false;
  const bool written = ReportingFailures("File IO error", [&] {
    CFile file;
    file.Open(fullPath.c_str(), CFile::kCreateNew | CFile::kWrite);
    created = true;
    WriteWhole(file, text);
    file.Close();
  });
  // A part of a snippet is no snippet, and no record will name it. Closed
  // by now (CFile's destructor ran), so it can go.
  if (!written && created) DeleteFileA(fullPath.c_str());
  return written;
}
