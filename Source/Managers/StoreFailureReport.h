// StoreFailureReport: the box that tells the user a store action failed:
// what could not be done, the file, the engine's reason, and that qmdb,
// installed beside the program, can check the file and rescue its records.
// It is shown only once the store is closed: while a store object lives the
// timer's notification check and the store commands hold back, and the box
// may stay up for as long as the user likes. So the report is declared
// before the store it tells about and shows its box when it is destroyed,
// after the store:
//
//   StoreFailureReport report(kind, StoreAction::Add);
//   KindStore store = OpenKindStore(kind, &report);  // notes a failed open
//   if (!store) return 0;                            // the box follows
//   if (store->AddRecord() == 0) {
//     report.Failed(store->LastError());
//     return 0;                                      // store closed, then the box
//   }
#ifndef QUILLMATE_MANAGERS_STOREFAILUREREPORT_H
#define QUILLMATE_MANAGERS_STOREFAILUREREPORT_H

#include <string>

#include "Records/RecordKind.h"

enum class StoreAction { Add, Change, Delete };

class StoreFailureReport {
 public:
  StoreFailureReport(RecordKind kind, StoreAction action) : m_kind(kind), m_action(action) {}
  // Shows the box when a failure was noted: owned by the window in use (the
  // open editor, else the main window on screen).
  ~StoreFailureReport();
  StoreFailureReport(const StoreFailureReport&) = delete;
  StoreFailureReport& operator=(const StoreFailureReport&) = delete;

  // Notes a failure with the engine's error code; the first one is told.
  void Failed(int errorCode);
  bool HasFailed() const { return m_failed; }

  // The box's text for a failure of action on the kind's store file.
  static std::string Text(RecordKind kind, StoreAction action, int errorCode);

 private:
  RecordKind m_kind;
  StoreAction m_action;
  bool m_failed = false;
  int m_errorCode = 0;
};

#endif  // QUILLMATE_MANAGERS_STOREFAILUREREPORT_H
