// The new content goes to a sibling file so that the final move stays on one
// volume, where replacing a file is a single rename.
#include "Library/CReplacingFile.h"

CReplacingFile::CReplacingFile(const char* targetPath)
    : m_targetPath(targetPath), m_newPath(m_targetPath + ".new"), m_committed(false) {
  m_file.Open(m_newPath.c_str(), CFile::kCreateAlways | CFile::kWrite);
}

CReplacingFile::~CReplacingFile() {
  if (m_committed) return;
  m_file.Close();
  DeleteFileA(m_newPath.c_str());
}

void CReplacingFile::Write(const void* buffer, unsigned long count) {
  if (m_file.Write(buffer, count) != count) throw CFileException(ERROR_WRITE_FAULT);
}

void CReplacingFile::Commit() {
  // On the disk before it takes the old file's place: after a power loss the
  // rename alone could survive, naming a file whose data never arrived.
  if (!FlushFileBuffers(m_file.GetHandle())) {
    const DWORD error = GetLastError();
    m_file.Close();
    DeleteFileA(m_newPath.c_str());
    throw CFileException(error);
  }
  m_file.Close();
  // The rename itself is on the disk too before Commit returns.
  if (!MoveFileExA(m_newPath.c_str(), m_targetPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD error = GetLastError();
    DeleteFileA(m_newPath.c_str());
    throw CFileException(error);
  }
  m_committed = true;
}
