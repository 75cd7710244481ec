// CFileException's message lookup.
#include "Library/CFileException.h"

CFileException::CFileException(unsigned long code) : m_code(code) {
  m_message.FormatSystemError(code);
}
