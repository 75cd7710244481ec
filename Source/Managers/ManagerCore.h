// The one implementation of the manager operations, over the kind table and
// the untyped record store: every kind's typed manager, the photo album, the
// fast texts and the shell requests are thin layers on these. Internal to
// the Managers layer.
#ifndef QUILLMATE_MANAGERS_MANAGERCORE_H
#define QUILLMATE_MANAGERS_MANAGERCORE_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Library/CListView.h"
#include "Managers/KindDescription.h"
#include "Records/DatabaseObject.h"

// A kind's store for one operation; dropping it closes the file and reports
// a pending error.
using KindStore = std::unique_ptr<RecordStore, StoreCloser>;

class StoreFailureReport;

// Constructs the kind's store and opens its file, creating it empty when it
// is missing; null when an error was reported (the operation is abandoned),
// which is also noted in report when one is given.
KindStore OpenKindStore(RecordKind kind, StoreFailureReport* report = nullptr);
// Close, report, destroy; true when no error was reported.
bool CloseKindStore(KindStore& store);

// Writes a record's row: with newRow a new item at index (date text, the
// address as parameter), else the texts of the existing item at index.
void WriteRecordRow(const CListView& list, int index, const KindDescription& kind,
                    const unsigned char* record, bool newRow, std::uint32_t address);

// The attachment of a record as a full path; false for kinds without
// attachments and for stored names that are not bare file names.
bool RecordAttachmentPath(RecordKind kind, const unsigned char* record, std::string& path);

// Reads the record (the store's buffer, own address set); false aborts.
using RecordReader = std::function<bool(const unsigned char* record)>;
// Fills the new record (date already set); false aborts without writing.
using RecordFiller = std::function<bool(unsigned char* record)>;

// The focused row's record handed to read. 1 when a row has the focus and
// read did not fail (a row whose parameter is 0 is not read), else 0.
int GetFocusedKindRecord(RecordKind kind, HWND mainWindow, const RecordReader& read);

// Rewrites the focused row's record: the new record starts as a copy of the
// stored one with the current date, fill sets the edited values. The row
// shows the new texts only after the write succeeded. 1 on success, else 0.
int ChangeFocusedKindRecord(RecordKind kind, HWND mainWindow, const RecordFiller& fill);

// Rewrites the record at address (not 0) as ChangeFocusedKindRecord does, and
// updates its row when the list shows the kind and has a row for it. For an
// editor that must change the record it was opened on even after the list
// was reloaded meanwhile. 1 on success, else 0.
int ChangeKindRecordAt(RecordKind kind, HWND mainWindow, std::uint32_t address, const RecordFiller& fill);

// With showFirst shows the kind, then adds a record (date now, fill sets the
// rest) and appends its row last. The record's address, 0 when nothing was
// added.
std::uint32_t AppendKindRecord(RecordKind kind, HWND mainWindow, bool showFirst, const RecordFiller& fill);

// Reads the record at address (not 0) of the kind into read; false when the
// store cannot be opened or read fails.
bool ReadKindRecordAt(RecordKind kind, std::uint32_t address, const RecordReader& read);

#endif  // QUILLMATE_MANAGERS_MANAGERCORE_H
