// The stream callbacks run inside the control's message handling, so no
// exception may leave them: a file error is kept in the stream's context and
// ends the transfer, and is thrown again once the control has returned.
#include "Editors/RichTextFile.h"

#include "Library/CFile.h"
#include "Library/CReplacingFile.h"

namespace {

long long gReadBudget = -1;

struct StreamContext {
  CFile* file;
  DWORD error;
};

DWORD CALLBACK ReadFromFile(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  auto* context = reinterpret_cast<StreamContext*>(cookie);
  *done = 0;
  if (count <= 0) return 0;  // a request for nothing ends the transfer
  try {
    if (gReadBudget >= 0) {
      if (gReadBudget < count) throw CFileException(ERROR_READ_FAULT);
      gReadBudget -= count;
    }
    *done = static_cast<LONG>(context->file->Read(buffer, static_cast<unsigned long>(count)));
    return 0;
  } catch (const CFileException& error) {
    context->error = error.GetErrorCode();
    return 1;
  }
}

DWORD CALLBACK WriteToFile(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  auto* context = reinterpret_cast<StreamContext*>(cookie);
  *done = 0;
  if (count <= 0) return 0;
  try {
    const unsigned long written = context->file->Write(buffer, static_cast<unsigned long>(count));
    if (written != static_cast<unsigned long>(count)) throw CFileException(ERROR_WRITE_FAULT);
    *done = count;
    return 0;
  } catch (const CFileException& error) {
    context->error = error.GetErrorCode();
    return 1;
  }
}

}  // namespace

void RaiseRichTextLimit(const CRichEdit& body) {
  body.Send(EM_EXLIMITTEXT, 0, kRichTextCharacterLimit);
}

void FailRichTextReadsAfter(long long bytes) {
  gReadBudget = bytes;
}

bool LoadRichText(const CRichEdit& body, const std::string& path, std::string& errorText) {
  CFile file;
  try {
    // A stored name that names no file here.
    if (path.empty()) throw CFileException(ERROR_INVALID_NAME);
    // Reading is all a load needs: a read-only body still opens.
    file.Open(path.c_str(), CFile::kOpenAlways | CFile::kRead | CFile::kShareExclusive);
    file.Seek(0, FILE_BEGIN);
  } catch (const CFileException& error) {
    errorText = error.GetErrorText().GetString();
    return false;
  }
  RaiseRichTextLimit(body);
  StreamContext context = {&file, 0};
  EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&context), 0, ReadFromFile};
  // Without this the control redraws and notifies while a long body comes
  // in, which makes it take several times as long.
  const DWORD events = body.SetEventMask(0);
  body.Send(WM_SETREDRAW, FALSE);
  body.StreamIn(SF_RTF, &stream);
  body.Send(WM_SETREDRAW, TRUE);
  body.SetEventMask(events);
  if (body.HasWindow()) InvalidateRect(body.GetWindow(), nullptr, TRUE);
  // Only the file's own error counts: the control also sets dwError for an
  // empty file, which is a note with an empty body.
  if (context.error != 0) {
    errorText = CFileException(context.error).GetErrorText().GetString();
    return false;
  }
  return true;
}

bool SaveRichText(const CRichEdit& body, const std::string& path, std::string& errorText) {
  try {
    // An attachment path is never empty; an empty one could only come from
    // a stored name that names no file of the folder.
    if (path.empty()) throw CFileException(ERROR_INVALID_NAME);
    CReplacingFile file(path.c_str());
    StreamContext context = {&file.File(), 0};
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&context), 0, WriteToFile};
    body.StreamOut(SF_RTF, &stream);
    if (context.error != 0) throw CFileException(context.error);
    if (stream.dwError != 0) throw CFileException(ERROR_WRITE_FAULT);
    file.Commit();
    return true;
  } catch (const CFileException& error) {
    errorText = error.GetErrorText().GetString();
    return false;
  }
}
