// The fast-text manager's Get, Change and Add: the record holds the title and
// the attachment's name, the snippet itself lives in the attachment.
#include <windows.h>

#include "Managers/FastTextAttachment.h"
#include "Managers/ManagerCore.h"
#include "Managers/RecordManager.h"
#include "Records/AttachmentName.h"
#include "Records/DataFolders.h"
#include "Records/RecordText.h"

namespace {

const DatabaseDataFastText& As(const unsigned char* bytes) {
  return *reinterpret_cast<const DatabaseDataFastText*>(bytes);
}

DatabaseDataFastText& As(unsigned char* bytes) {
  return *reinterpret_cast<DatabaseDataFastText*>(bytes);
}

// After a failed read the editor shows what was read so far: the title.
bool ReadValues(const unsigned char* record, FastTextValues& values) {
  values.title = RecordTextOf(As(record).title);
  return ReadFastTextAttachment(RecordTextOf(As(record).fileName).c_str(), values.text);
}

// The attachment is rewritten before the record; when it cannot be written
// neither the record nor the row changes.
bool WriteValues(const FastTextValues& values, unsigned char* record) {
  CopyRecordText(As(record).title, values.title.c_str());
  return RewriteFastTextAttachment(RecordTextOf(As(record).fileName).c_str(), values.text);
}

}  // namespace

template <>
int RecordManager<DatabaseDataFastText>::GetFocusedRecord(HWND mainWindow, FastTextValues& values) {
  return GetFocusedKindRecord(kKind, mainWindow,
                              [&values](const unsigned char* record) { return ReadValues(record, values); });
}

template <>
int RecordManager<DatabaseDataFastText>::GetRecordAt(std::uint32_t address, FastTextValues& values) {
  return ReadKindRecordAt(kKind, address,
                          [&values](const unsigned char* record) { return ReadValues(record, values); })
             ? 1
             : 0;
}

template <>
int RecordManager<DatabaseDataFastText>::ChangeFocusedRecord(HWND mainWindow, const FastTextValues& values) {
  return ChangeFocusedKindRecord(kKind, mainWindow,
                                 [&values](unsigned char* record) { return WriteValues(values, record); });
}

template <>
int RecordManager<DatabaseDataFastText>::ChangeRecordAt(HWND mainWindow, std::uint32_t address,
                                                        const FastTextValues& values) {
  return ChangeKindRecordAt(kKind, mainWindow, address,
                            [&values](unsigned char* record) { return WriteValues(values, record); });
}

template <>
int RecordManager<DatabaseDataFastText>::AppendRecord(HWND mainWindow, const FastTextValues& values) {
  std::string path;
  bool written = false;
  std::uint32_t address = AppendKindRecord(kKind, mainWindow, true, [&](unsigned char* record) {
    MakeAttachmentName(gFastTextFolder, "FastText", "fst", path);
    if (!CreateFastTextAttachment(path, values.text)) return false;
    written = true;
    CopyRecordText(As(record).title, values.title.c_str());
    CopyRecordText(As(record).fileName, BareFileName(path).c_str());
    return true;
  });
  // No record names the file when the store refused the record.
  if (address == 0 && written) DeleteFileA(path.c_str());
  return address != 0 ? 1 : 0;
}
