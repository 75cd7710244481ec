// CReminderWindow: the window of one due time notification, a modeless
// dialog of its own with a taskbar button: the title as caption, the urgency's
// icon, the message, the time it was set for, "OK" (dismiss, the default) and
// "Snooze" with a choice of how long. It keeps its record by address through
// a CRecordWatch from the moment the notification fell due, so that a record
// deleted or edited meanwhile is never mistaken for it:
//
// - OK deletes the record from the store; Snooze rewrites the record's time
//   (a change, as the editor makes one), which arms it again;
// - when the record was deleted or edited meanwhile, both only close;
// - while another action holds a store open, both wait and are tried again;
// - a window closed by the program's end leaves the record stored, so the
//   reminder shows again at the next start.
#pragma once

#include <windows.h>

#include <cstdint>

#include "Managers/RecordWatch.h"
#include "Records/DatabaseData.h"

class CReminderWindow {
 public:
  // At most this many reminder windows are open at once.
  static constexpr int kMaxOpen = 10;

  // Called once the window has gone (after OK, Snooze, or Close).
  using ClosedCallback = void (*)(CReminderWindow* reminder);

  CReminderWindow(const DatabaseDataTimeNotif& record, HWND mainWindow, ClosedCallback closed);
  ~CReminderWindow();
  CReminderWindow(const CReminderWindow&) = delete;
  CReminderWindow& operator=(const CReminderWindow&) = delete;

  // Creates the window and shows it in cascade place slot (0 the first; each
  // further place lower and to the right by a caption's height), on top of
  // other windows without taking the keyboard from anyone, flashing in the
  // taskbar. False when it could not be created (reported).
  bool Open(int slot);
  // Activates it: the user asked for it (a balloon click).
  void BringForward() const;
  // Destroys the window without touching the record (the program ends).
  void Close();

  HWND Window() const { return m_window; }
  int Slot() const { return m_slot; }
  std::uint32_t Address() const { return m_watch.Address(); }
  // Its record is gone; its address may name another record by now.
  bool IsDeleted() const { return m_watch.IsDeleted(); }
  // The record was deleted or changed since it fell due: it is no longer
  // this reminder's to show.
  bool IsStale() const { return m_watch.IsDeleted() || m_watch.IsChanged(); }
  const DatabaseDataTimeNotif& Record() const { return m_record; }

 private:
  enum class Action { None, Dismiss, Snooze };

  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Initialise();
  // OK or Snooze: carried out now, or once no store is open.
  void Request(Action action);
  void CarryOut();
  bool Dismiss();
  bool Snooze();

  DatabaseDataTimeNotif m_record;
  HWND m_mainWindow;
  ClosedCallback m_closed;
  CRecordWatch m_watch;
  HWND m_window;
  int m_slot;
  Action m_waiting;
};
