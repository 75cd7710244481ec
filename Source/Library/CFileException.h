// CFileException: what CFile throws on every platform failure, carrying the
// platform's last-error code and the system's message text for it. Thrown by
// value; copies share the text.
#pragma once

#include "Library/CException.h"
#include "Library/CString.h"

class CFileException : public CException {
 public:
  // Takes the code and looks up its system text (or "Error <code> occured.").
  explicit CFileException(unsigned long code);

  unsigned long GetErrorCode() const { return m_code; }
  const CString& GetErrorText() const { return m_message; }

 private:
  unsigned long m_code;
  CString m_message;
};
