// The typed managers: each operation converts the kind's values and hands
// the work to the one implementation in ManagerCore.h.
#include "Managers/RecordManager.h"

#include "Managers/ManagerCore.h"
#include "Managers/RecordAccessors.h"

namespace {

template <class Record>
const Record& As(const unsigned char* bytes) {
  return *reinterpret_cast<const Record*>(bytes);
}

template <class Record>
Record& As(unsigned char* bytes) {
  return *reinterpret_cast<Record*>(bytes);
}

}  // namespace

template <class Record>
int RecordManager<Record>::GetFocusedRecord(HWND mainWindow, Values& values) {
  return GetFocusedKindRecord(kKind, mainWindow, [&values](const unsigned char* record) {
    ReadValues(As<Record>(record), values);
    return true;
  });
}

template <class Record>
int RecordManager<Record>::GetRecordAt(std::uint32_t address, Values& values) {
  return ReadKindRecordAt(kKind, address, [&values](const unsigned char* record) {
    ReadValues(As<Record>(record), values);
    return true;
  }) ? 1 : 0;
}

template <class Record>
int RecordManager<Record>::ChangeFocusedRecord(HWND mainWindow, const Values& values) {
  return ChangeFocusedKindRecord(kKind, mainWindow, [&values](unsigned char* record) {
    WriteValues(values, As<Record>(record), false);
    return true;
  });
}

template <class Record>
int RecordManager<Record>::ChangeRecordAt(HWND mainWindow, std::uint32_t address, const Values& values) {
  return ChangeKindRecordAt(kKind, mainWindow, address, [&values](unsigned char* record) {
    WriteValues(values, As<Record>(record), false);
    return true;
  });
}

template <class Record>
int RecordManager<Record>::AppendRecord(HWND mainWindow, const Values& values) {
  std::uint32_t address = AppendKindRecord(kKind, mainWindow, true, [&values](unsigned char* record) {
    WriteValues(values, As<Record>(record), true);
    return true;
  });
  return address != 0 ? 1 : 0;
}

template class RecordManager<DatabaseDataTextNote>;
template class RecordManager<DatabaseDataAudioNote>;
template class RecordManager<DatabaseDataVideoNote>;
template class RecordManager<DatabaseDataTimeNotif>;
template class RecordManager<DatabaseDataEmailRes>;
template class RecordManager<DatabaseDataInternetRes>;
// Photos are added through AddPhoto only.
template int RecordManager<DatabaseDataPhotoAlbum>::GetFocusedRecord(HWND, PhotoValues&);
template int RecordManager<DatabaseDataPhotoAlbum>::GetRecordAt(std::uint32_t, PhotoValues&);
template int RecordManager<DatabaseDataPhotoAlbum>::ChangeFocusedRecord(HWND, const PhotoValues&);
template int RecordManager<DatabaseDataPhotoAlbum>::ChangeRecordAt(HWND, std::uint32_t, const PhotoValues&);
