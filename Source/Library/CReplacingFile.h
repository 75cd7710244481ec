// CReplacingFile: writes the new content of a file beside it and puts it in
// the file's place only once it is complete, so that a failure at any point
// (disk full, a locked or read-only file, a removed folder) leaves the old
// content whole. Every editor writes its attachment this way.
//
//   CReplacingFile file(path);      // throws CFileException
//   file.Write(text.data(), size);  // throws on a short write
//   file.Commit();                  // throws; the old file stays on failure
#pragma once

#include <string>

#include "Library/CFile.h"

class CReplacingFile {
 public:
  // Creates the new content's file, targetPath + ".new", replacing a stale
  // one left by an earlier failure. Throws CFileException.
  explicit CReplacingFile(const char* targetPath);
  // Without a Commit the new file is closed and deleted; the target is
  // untouched.
  ~CReplacingFile();
  CReplacingFile(const CReplacingFile&) = delete;
  CReplacingFile& operator=(const CReplacingFile&) = delete;

  // The file that receives the new content, for writers that need the handle
  // (a rich edit stream callback).
  CFile& File() { return m_file; }
  // Writes all of buffer or throws CFileException.
  void Write(const void* buffer, unsigned long count);
  // Flushes the new file to the disk, closes it and moves it over the target
  // (creating the target when it is missing), the move written through.
  // Throws CFileException; on failure the target keeps its old content and
  // the new file is removed.
  void Commit();

  const std::string& NewPath() const { return m_newPath; }

 private:
  std::string m_targetPath;
  std::string m_newPath;
  CFile m_file;
  bool m_committed;
};
