// Show, delete, get, change and add, written once for the eight kinds. What
// differs between kinds comes from the kind table (KindDescription) and the
// store's kind information (attachment folder and file-name field).
#include "Managers/KindManager.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "Library/CRebar.h"
#include "Managers/ManagerCore.h"
#include "Managers/ManagerWindows.h"
#include "Managers/RecordListOrder.h"
#include "Managers/RecordListRows.h"
#include "Managers/RecordObserver.h"
#include "Managers/StoreFailureReport.h"
#include "Managers/RecordWatch.h"
#include "Records/AttachmentName.h"
#include "Records/MessageBoxSeam.h"
#include "Records/RecordText.h"
#include "Records/TimeStamp.h"
#include "Resources/MainWindowIds.h"

namespace {

int gCurrentKind = 0;
ColumnWidthsHook gColumnWidths = nullptr;

// Far more than the labels of every kind's edit toolbar together.
constexpr int kMaximumToolbarLabels = 1024;

void SetProgress(const CProgress& progress, int position) {
  if (position != 0) progress.SetPos(position);
}

// The index of label in the toolbar's string list, added only when the list
// does not hold it yet: a string list never shrinks, so adding the labels on
// every show would make it grow without bound.
// Without a toolbar every request answers 0, never the -1 that ends the
// search: the search is bounded by the number of labels a toolbar can have.
int LabelIndex(const CToolbar& toolbar, const char* label) {
  if (!toolbar.HasWindow()) return -1;
  for (int index = 0; index < kMaximumToolbarLabels; ++index) {
    char text[64] = {};
    const LRESULT length =
        toolbar.Send(TB_GETSTRINGA, MAKEWPARAM(sizeof text, index), reinterpret_cast<LPARAM>(text));
    if (length < 0) break;
    if (std::strcmp(text, label) == 0) return index;
  }
  return toolbar.AddString(label);
}

void FillEditToolbar(const CToolbar& toolbar, const KindDescription& kind) {
  for (int count = toolbar.GetButtonCount(); count > 0; --count) toolbar.DeleteButton(0);
  std::vector<TBBUTTON> buttons;
  for (int i = 0; i < kind.buttonCount; ++i) {
    const ToolbarButtonDescription& description = kind.buttons[i];
    TBBUTTON button = {};
    button.fsState = TBSTATE_ENABLED;
    if (description.label == nullptr) {
      button.fsStyle = TBSTYLE_SEP;
      button.iString = -1;
    } else {
      button.iString = LabelIndex(toolbar, description.label);
      button.iBitmap = description.image;
      button.idCommand = description.command;
      button.fsStyle = TBSTYLE_BUTTON;
    }
    buttons.push_back(button);
  }
  toolbar.AddButtons(static_cast<int>(buttons.size()), buttons.data());
}

// The manager list's highlight follows the kind on display, however it was
// chosen (the list, a menu, the toolbar, a notification, an editor's add).
void HighlightManager(HWND mainWindow, RecordKind kind) {
  CListView managers = ManagerListOf(mainWindow);
  if (!managers.HasWindow()) return;
  const int entry = static_cast<int>(kind);
  if ((managers.GetItemState(entry, LVIS_SELECTED) & LVIS_SELECTED) != 0) return;
  managers.SetItemState(-1, 0, LVIS_SELECTED);
  managers.SetItemState(entry, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  managers.EnsureVisible(entry, false);
}

void ResetColumns(const CListView& list, RecordKind kind, const CProgress& progress) {
  const KindDescription& description = KindDescriptionOf(kind);
  list.DeleteAllItems();
  ClearListedRows();
  SetProgress(progress, description.progress.afterItemsCleared);
  while (list.DeleteColumn(0)) {
  }
  SetProgress(progress, description.progress.afterColumnsCleared);
  // Each column comes in at the width it keeps: sized again afterwards,
  // every column would lay out the list and its header once more.
  std::vector<int> widths;
  if (gColumnWidths != nullptr) widths = gColumnWidths(list.GetWindow(), kind);
  const bool given = static_cast<int>(widths.size()) == description.columnCount;
  for (int i = 0; i < description.columnCount; ++i) {
    list.InsertColumn(i, description.columns[i].title, given ? widths[i] : description.columns[i].width);
  }
}

// Reads and deletes the record at address, then its attachment: the file
// goes only when the record is gone, so no record is left naming a deleted
// file, and only when the record passed its check: the file name of a
// damaged record may name another record's file. False when the record
// could not be deleted.
bool DeleteRecordAt(RecordStore& store, std::uint32_t address) {
  const RecordReadStatus read = store.ReadRecord(address);
  if (store.DeleteRecord() == 0) return false;
  // Whoever keeps this record open (an editor, a reminder) must not take a
  // record added later in the freed block for it; Delete All included.
  CRecordWatch::NoteDeleted(store.Kind(), address);
  std::string path;
  if (read == RecordReadStatus::Ok && RecordAttachmentPath(store.Kind(), store.RecordBytes(), path)) {
    DeleteFileA(path.c_str());  // a missing file does not matter
  }
  return true;
}

void RemoveSelected(RecordStore& store, const CListView& list, StoreFailureReport& report) {
  const RecordObserver& observer = RecordObserverOf(store.Kind());
  int after = -1;
  for (int item = list.GetNextSelected(after); item != -1; item = list.GetNextSelected(after)) {
    std::uint32_t address = static_cast<std::uint32_t>(list.GetItemParam(item));
    bool removed = false;
    if (address != 0 && DeleteRecordAt(store, address)) {
      list.DeleteItem(item);
      RemoveListedRow(item);
      removed = true;
      if (observer.onRemoved) observer.onRemoved(address);
    } else if (address != 0) {
      report.Failed(store.LastError());
    }
    // The item that moved up into this position must be examined too.
    after = removed ? item - 1 : item;
  }
}

void RemoveAll(RecordStore& store, const CListView& list, StoreFailureReport& report) {
  const RecordObserver& observer = RecordObserverOf(store.Kind());
  // Rows whose record could not be deleted stay: an empty list must mean the
  // records are gone.
  std::vector<int> kept;
  std::vector<std::uint32_t> deleted;
  const int count = list.GetItemCount();
  for (int item = 0; item < count; ++item) {
    std::uint32_t address = static_cast<std::uint32_t>(list.GetItemParam(item));
    if (address == 0) continue;
    if (DeleteRecordAt(store, address)) {
      deleted.push_back(address);
    } else {
      kept.push_back(item);
      report.Failed(store.LastError());
    }
  }
  if (kept.empty()) {
    if (observer.onRemovedAll) observer.onRemovedAll();
    list.DeleteAllItems();
    ClearListedRows();
    return;
  }
  // What stays keeps its place in the observer's books too.
  if (observer.onRemoved) {
    for (std::uint32_t address : deleted) observer.onRemoved(address);
  }
  for (int item = count - 1; item >= 0; --item) {
    if (kept.empty() || kept.back() != item) {
      list.DeleteItem(item);
      RemoveListedRow(item);
    } else {
      kept.pop_back();
    }
  }
}

}  // namespace

int CurrentKind() {
  return gCurrentKind;
}

KindStore OpenKindStore(RecordKind kind, StoreFailureReport* report) {
  std::unique_ptr<RecordStore> store = MakeRecordStore(kind);
  OpenOrCreateStoreFile(*store, StoreFilePath(kind));
  if (store->ReportError()) {
    if (report != nullptr) report->Failed(store->LastError());
    store->Close();  // already reported; close quietly
    return nullptr;
  }
  return KindStore(store.release());
}

bool CloseKindStore(KindStore& store) {
  if (!store) return false;
  bool clean = CloseStoreFile(*store);
  delete store.release();
  return clean;
}

void WriteRecordRow(const CListView& list, int index, const KindDescription& kind,
                    const unsigned char* record, bool newRow, std::uint32_t address) {
  // Every record begins with its date text. Nothing here allocates: a list
  // of thousands of records is filled row by row.
  RowTexts texts;
  texts.Add(reinterpret_cast<const char*>(record));
  kind.rowTexts(record, texts);
  if (newRow) {
    index = list.InsertItem(index, texts[0], -1, static_cast<LPARAM>(address));
    if (index < 0) return;
    InsertListedRow(index, static_cast<LPARAM>(address), texts);
  } else {
    list.SetItemText(index, 0, texts[0]);
    UpdateListedRow(index, texts);
  }
  for (int i = 1; i < texts.Count(); ++i) list.SetItemText(index, i, texts[i]);
}

bool RecordAttachmentPath(RecordKind kind, const unsigned char* record, std::string& path) {
  path.clear();
  const RecordKindInfo& info = RecordKindInfoOf(kind);
  if (info.attachmentFolder == nullptr) return false;
  const RecordField* field = FindRecordField(info, "file_name");
  if (field == nullptr) return false;
  std::string name = RecordTextOf(reinterpret_cast<const char*>(record + field->offset));
  return AttachmentPath(*info.attachmentFolder, name.c_str(), path);
}

bool ShowRecords(RecordKind kind, HWND mainWindow) {
  KindStore store = OpenKindStore(kind);
  if (!store) return false;
  const KindDescription& description = KindDescriptionOf(kind);
  CBusyIndicator busy(mainWindow);
  CProgress progress = ProgressBarOf(mainWindow);
  progress.SetRange(0, 100);
  progress.SetPos(10);
  FillEditToolbar(EditToolbarOf(mainWindow), description);
  // The band's chevron offers whatever of these buttons it cannot show.
  CRebar(mainWindow, ID_REBAR).FitChevronToToolbar(EditToolbarOf(mainWindow).GetWindow());
  gCurrentKind = static_cast<int>(kind);
  HighlightManager(mainWindow, kind);
  CListView list = RecordListOf(mainWindow);
  // Without this the list lays itself out and repaints after every column
  // and every row, which makes a long list take minutes to fill.
  list.Send(WM_SETREDRAW, FALSE);
  ResetColumns(list, kind, progress);
  progress.SetPos(description.progress.beforeFill);
  int row = 0;
  store->ForEachRecord([&](std::uint32_t address) {
    WriteRecordRow(list, row++, description, store->RecordBytes(), true, address);
  });
  ApplyRecordListOrder(kind, list);
  list.Send(WM_SETREDRAW, TRUE);
  ShowRecordCount(mainWindow);
  if (list.HasWindow()) InvalidateRect(list.GetWindow(), nullptr, TRUE);
  progress.SetPos(50);
  // Closed by hand here (not by the holder) for the progress step between
  // closing the file and destroying the store.
  std::unique_ptr<RecordStore> closing(store.release());
  if (!CloseStoreFile(*closing)) return false;
  progress.SetPos(80);
  closing.reset();
  progress.SetPos(100);
  return true;
}

void RemoveRecords(RecordKind kind, HWND mainWindow, int all) {
  // The store is open while the question is up: its guard keeps every other
  // command that would touch a store (another delete, another question) out
  // until the answer.
  StoreFailureReport report(kind, StoreAction::Delete);
  KindStore store = OpenKindStore(kind, &report);
  if (!store) return;
  CListView list = RecordListOf(mainWindow);
  // Every road to a deletion (toolbar, menus, the Delete key) asks here, and
  // one stray Enter answers No: what goes cannot be brought back.
  constexpr unsigned kQuestion = kMbYesNo | kMbIconQuestion | kMbDefaultButton2;
  const int count = all == 0 ? list.GetSelectedCount() : list.GetItemCount();
  if (count == 0) return;  // nothing to ask about
  const std::string question =
      all == 0 ? DeleteSelectedQuestion(kind, count) : std::string(KindDescriptionOf(kind).deleteAllQuestion);
  if (ShowMessageBox(nullptr, question.c_str(), "Quillmate", kQuestion) != kIdYes) return;
  if (all == 0) {
    RemoveSelected(*store, list, report);
  } else {
    RemoveAll(*store, list, report);
  }
  ShowRecordCount(mainWindow);
  CloseKindStore(store);
}

void SetColumnWidthsHook(ColumnWidthsHook hook) {
  gColumnWidths = hook;
}

bool EnsureStore(RecordKind kind) {
  KindStore store = OpenKindStore(kind);
  return store && CloseKindStore(store);
}

int GetFocusedKindRecord(RecordKind kind, HWND mainWindow, const RecordReader& read) {
  KindStore store = OpenKindStore(kind);
  if (!store) return 0;
  CListView list = RecordListOf(mainWindow);
  int item = list.GetFocusedItem();
  if (item < 0) return 0;
  std::uint32_t address = static_cast<std::uint32_t>(list.GetItemParam(item));
  bool ok = true;
  if (address != 0) {
    store->ReadRecord(address);
    ok = read(store->RecordBytes());
  }
  CloseKindStore(store);
  return ok ? 1 : 0;
}

int ChangeFocusedKindRecord(RecordKind kind, HWND mainWindow, const RecordFiller& fill) {
  CListView list = RecordListOf(mainWindow);
  int item = list.GetFocusedItem();
  if (item < 0) return 0;
  std::uint32_t address = static_cast<std::uint32_t>(list.GetItemParam(item));
  if (address == 0) return 0;
  return ChangeKindRecordAt(kind, mainWindow, address, fill);
}

int ChangeKindRecordAt(RecordKind kind, HWND mainWindow, std::uint32_t address, const RecordFiller& fill) {
  if (address == 0) return 0;
  StoreFailureReport report(kind, StoreAction::Change);
  KindStore store = OpenKindStore(kind, &report);
  if (!store) return 0;
  // A record that could not be read would be rewritten from zeros, losing
  // its attachment name: leave it as it is.
  if (store->ReadRecord(address) == RecordReadStatus::ReadFailed) {
    report.Failed(store->LastError());
    return 0;
  }
  const std::uint32_t size = store->KindInfo().recordSize;
  std::vector<unsigned char> next(store->RecordBytes(), store->RecordBytes() + size);
  std::string date;
  MakeTimeStamp(date);
  CopyRecordText(reinterpret_cast<char*>(next.data()), date.c_str());
  if (!fill(next.data())) return 0;
  // A failed change puts the record that was read back (the store does
  // that), so the store keeps what the row shows.
  if (store->ChangeRecordImage(next.data()) == 0) {
    report.Failed(store->LastError());
    return 0;
  }
  CRecordWatch::NoteChanged(kind, address);
  // Only now is the new record stored: its row, when the list shows one, may
  // show it.
  if (CurrentKind() == static_cast<int>(kind)) {
    CListView list = RecordListOf(mainWindow);
    const int item = list.FindItemByParam(static_cast<LPARAM>(address));
    if (item >= 0) {
      WriteRecordRow(list, item, KindDescriptionOf(kind), store->RecordBytes(), false, address);
      ApplyRecordListOrder(kind, list);  // its new date or title may move it
    }
  }
  const RecordObserver& observer = RecordObserverOf(kind);
  if (observer.onChanged) observer.onChanged(store->RecordBytes());
  CloseKindStore(store);
  return 1;
}

std::uint32_t AppendKindRecord(RecordKind kind, HWND mainWindow, bool showFirst, const RecordFiller& fill) {
  if (showFirst) ShowRecords(kind, mainWindow);
  StoreFailureReport report(kind, StoreAction::Add);
  KindStore store = OpenKindStore(kind, &report);
  if (!store) return 0;
  unsigned char* record = store->RecordBytes();
  std::memset(record, 0, store->KindInfo().recordSize);
  std::string date;
  MakeTimeStamp(date);
  CopyRecordText(reinterpret_cast<char*>(record), date.c_str());
  if (!fill(record)) return 0;
  std::uint32_t address = store->AddRecord();
  if (address == 0) {
    report.Failed(store->LastError());
    return 0;
  }
  CListView list = RecordListOf(mainWindow);
  WriteRecordRow(list, list.GetItemCount(), KindDescriptionOf(kind), record, true, address);
  // In a list the user sorted, the new row goes where the order puts it.
  ApplyRecordListOrder(kind, list);
  ShowRecordCount(mainWindow);
  const RecordObserver& observer = RecordObserverOf(kind);
  if (observer.onAdded) observer.onAdded(record);
  CloseKindStore(store);
  return address;
}

bool ReadKindRecordAt(RecordKind kind, std::uint32_t address, const RecordReader& read) {
  if (address == 0) return false;
  KindStore store = OpenKindStore(kind);
  if (!store) return false;
  // Zeros from a failed read are not the record.
  if (store->ReadRecord(address) == RecordReadStatus::ReadFailed) return false;
  bool ok = read(store->RecordBytes());
  CloseKindStore(store);
  return ok;
}
