// RecordManager<Record>: the manager of one kind, as the editors and the main
// window use it. The generic operations forward to KindManager.h; Get, Change
// and Append exchange the kind's values (RecordValues.h) with the editor:
//
//   NoteValues note{"Shopping", "TextNote2003122953470.doc", 1};
//   TextNoteManager::AppendRecord(mainWindow, note);
//
// Results: GetFocusedRecord 1 when the focused row's record was read, 0 when
// no row has the focus or the store cannot be opened; ChangeFocusedRecord 1
// when the focused row's record was rewritten (the row is updated only then),
// else 0; AppendRecord 1 when the record was added and its row appended (the
// kind is shown first), else 0. The time-notification operations also call
// the kind's RecordObserver; the fast-text ones read and write the snippet's
// attachment file. Photos are added with AddPhoto (PhotoAlbumManager.h), not
// with AppendRecord.
#ifndef QUILLMATE_MANAGERS_RECORDMANAGER_H
#define QUILLMATE_MANAGERS_RECORDMANAGER_H

#include <windows.h>

#include <cstdint>

#include "Managers/KindManager.h"
#include "Managers/RecordValues.h"
#include "Records/DatabaseData.h"

template <class Record>
struct RecordValuesOf;
template <RecordKind K>
struct RecordValuesOf<DatabaseDataNote<K>> {
  using Type = NoteValues;
};
template <>
struct RecordValuesOf<DatabaseDataPhotoAlbum> {
  using Type = PhotoValues;
};
template <>
struct RecordValuesOf<DatabaseDataTimeNotif> {
  using Type = TimeNotifValues;
};
template <>
struct RecordValuesOf<DatabaseDataEmailRes> {
  using Type = EmailValues;
};
template <>
struct RecordValuesOf<DatabaseDataInternetRes> {
  using Type = InternetValues;
};
template <>
struct RecordValuesOf<DatabaseDataFastText> {
  using Type = FastTextValues;
};

template <class Record>
class RecordManager {
 public:
  using Values = typename RecordValuesOf<Record>::Type;
  static constexpr RecordKind kKind = Record::kKind;

  static bool ShowRecords(HWND mainWindow) { return ::ShowRecords(kKind, mainWindow); }
  static void RemoveRecords(HWND mainWindow, int all) { ::RemoveRecords(kKind, mainWindow, all); }
  static bool EnsureStore() { return ::EnsureStore(kKind); }

  static int GetFocusedRecord(HWND mainWindow, Values& values);
  // The values of the record at address (not 0): what an editor shows for
  // the record it was opened on. 1 when it was read, else 0.
  static int GetRecordAt(std::uint32_t address, Values& values);
  static int ChangeFocusedRecord(HWND mainWindow, const Values& values);
  // As ChangeFocusedRecord for the record at address, whether or not its row
  // has the focus (or is shown at all): an editor changes the record it was
  // opened on.
  static int ChangeRecordAt(HWND mainWindow, std::uint32_t address, const Values& values);
  static int AppendRecord(HWND mainWindow, const Values& values);
};

// Fast texts keep their text in an attachment (FastTextManager.cpp).
template <>
int RecordManager<DatabaseDataFastText>::GetFocusedRecord(HWND mainWindow, FastTextValues& values);
template <>
int RecordManager<DatabaseDataFastText>::ChangeFocusedRecord(HWND mainWindow, const FastTextValues& values);
template <>
int RecordManager<DatabaseDataFastText>::AppendRecord(HWND mainWindow, const FastTextValues& values);
template <>
int RecordManager<DatabaseDataFastText>::GetRecordAt(std::uint32_t address, FastTextValues& values);
template <>
int RecordManager<DatabaseDataFastText>::ChangeRecordAt(HWND mainWindow, std::uint32_t address,
                                                        const FastTextValues& values);

using TextNoteManager = RecordManager<DatabaseDataTextNote>;
using AudioNoteManager = RecordManager<DatabaseDataAudioNote>;
using VideoNoteManager = RecordManager<DatabaseDataVideoNote>;
using PhotoAlbumManager = RecordManager<DatabaseDataPhotoAlbum>;
using TimeNotifManager = RecordManager<DatabaseDataTimeNotif>;
using EmailResManager = RecordManager<DatabaseDataEmailRes>;
using InternetResManager = RecordManager<DatabaseDataInternetRes>;
using FastTextManager = RecordManager<DatabaseDataFastText>;

#endif  // QUILLMATE_MANAGERS_RECORDMANAGER_H
