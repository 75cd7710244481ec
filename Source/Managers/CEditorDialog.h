// CEditorDialog: how every record editor opens, runs and ends. An editor is
// a class derived from this one that fills its controls (OnInit) and saves
// them (OnSave); everything they share lives here:
//
// - one editor at a time: while an editor is open (or opening), a command
//   that would open another brings the open one to the front and opens
//   nothing, so no second dialog can act on the same store or record;
// - the edit flag is the dialog's own (IsEdit), never a process-wide one;
// - an edit opens only for a focused row of the editor's kind, and keeps
//   that record by its address: a list reloaded meanwhile (a notification
//   fired) does not move it to another record; should the record itself be
//   deleted meanwhile, Save adds what the user wrote as a new record;
// - every edit control that is stored in a record text field takes at most
//   the field's 254 characters, so nothing typed is cut silently on save;
// - nothing unsaved is thrown away without a question: Esc, Cancel, Close
//   and the close box ask "Discard the changes to this <kind>?" (No the
//   default) while the editor holds unsaved work (HasUnsavedWork), and end
//   with 2 at once when it holds none; Save ends with 1;
// - during a take or a capture (IsTaking), Esc ends it and keeps it; Close
//   and the close box end it first, then ask as above;
// - the small icon, and the box for a dialog that cannot be created; a
//   dialog whose window was destroyed under it counts as cancelled.
//
//   class CFastTextEditor : public CEditorDialog { ... };
//   CFastTextEditor editor;
//   editor.Run(mainWindow, edit);   // 0 nothing opened, 1 saved, 2 cancelled
#ifndef QUILLMATE_MANAGERS_CEDITORDIALOG_H
#define QUILLMATE_MANAGERS_CEDITORDIALOG_H

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Managers/RecordWatch.h"
#include "Records/MessageBoxSeam.h"
#include "Records/RecordKind.h"

// What describes one editor: its template, the kind it edits, its Save and
// Cancel buttons, the controls limited to a record text field's width, and
// how a failed creation is reported.
struct EditorTemplate {
  int dialogId;
  RecordKind kind;
  int saveId;
  int cancelId;
  const int* textFieldIds;
  std::size_t textFieldCount;
  // "Error x%x" captioned "Dialog Box", or for the media dialogs "Error In
  // Dialog Creation: x%x" captioned "Quillmate".
  bool mediaCreationError;
  // The dialog's print command, which Ctrl+P gives; 0: it does not print.
  int printCommandId = 0;
};

class CEditorDialog {
 public:
  explicit CEditorDialog(const EditorTemplate& description);
  virtual ~CEditorDialog();
  CEditorDialog(const CEditorDialog&) = delete;
  CEditorDialog& operator=(const CEditorDialog&) = delete;

  // Runs the editor modally with mainWindow as parent. edit: the record of
  // the focused row, which must be of the editor's kind. Returns 0 when
  // nothing opened (another editor is open and was brought forward, edit
  // without a focused row of the kind, or the dialog could not be created,
  // which is reported), else the dialog's result: 1 saved, 2 cancelled (also
  // when its window was destroyed under it).
  int Run(HWND mainWindow, bool edit);

  // F1 in an editor (WM_HELP) opens the help on the editor's kind through
  // the opener the shell installs; none installed: F1 does nothing.
  using HelpOpener = void (*)(HWND dialog, RecordKind kind);
  static void SetHelpOpener(HelpOpener opener);

  // The open editor's dialog window, or null (also while one is opening).
  static HWND OpenEditorWindow();
  // True while any editor runs; it is brought to the front.
  static bool BringOpenEditorForward();

 protected:
  // WM_INITDIALOG, after the icon and the field limits are set.
  virtual void OnInit() = 0;
  // The Save button: check, store, and End(1); or stay open.
  virtual void OnSave() = 0;
  // Commands other than Save and Cancel; true when handled.
  virtual bool OnCommand(int /*id*/, int /*notifyCode*/) { return false; }
  // Any other message; true when handled, with result the dialog's answer.
  virtual bool OnMessage(UINT /*message*/, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }
  // A message the dialog's loop is about to hand to one of its windows (a
  // key to the focused control); true when taken. By default Ctrl+P gives
  // the print command, when the editor has one.
  virtual bool OnLoopMessage(const MSG& message);
  // Whether leaving now would lose something the user made. By default:
  // whether an input control differs from what it held when the editor had
  // opened (ControlsChanged). An editor with more to lose (a take, a
  // capture) adds it.
  virtual bool HasUnsavedWork() { return ControlsChanged(); }
  // True while a take or a capture runs; EndTake ends it, keeping what was
  // taken.
  virtual bool IsTaking() { return false; }
  virtual void EndTake() {}
  // Called when the dialog is about to end unsaved (nothing to lose, or the
  // user chose to discard it): throw the unsaved work away (a take's file).
  // False keeps the dialog open.
  virtual bool CanCancel() { return true; }

  // Remembers what the input controls hold now as saved: done after OnInit;
  // an editor that shows another record, or saved and stays open, calls it.
  void RememberSavedState();
  // Leaves a control out of ControlsChanged (a device choice is no work).
  void IgnoreForUnsavedWork(int controlId);
  // Whether an enabled edit, rich edit, combo box or date picker differs
  // from the remembered state.
  bool ControlsChanged() const;
  // Whether the file at path exists and holds at least two bytes: a take or
  // a capture that was written.
  static bool FileHoldsData(const std::string& path);

  void End(int result);

  HWND Dialog() const { return m_dialog; }
  HWND MainWindow() const { return m_mainWindow; }
  bool IsEdit() const { return m_edit; }
  // Edit mode: the opened record's address; 0 for a new record.
  std::uint32_t RecordAddress() const { return m_watch ? m_watch->Address() : 0; }
  // Edit mode and the opened record still exists: Save changes it. When it
  // was deleted while the editor was open, Save adds the values instead.
  bool ChangesOpenedRecord() const { return m_watch && !m_watch->IsDeleted(); }

  // Stores values through the kind's manager: changes the opened record, or
  // adds one (a new record, or the opened one was deleted meanwhile). False
  // when nothing was stored; the failure was reported where it happened, and
  // the editor stays open with what was typed.
  template <class Manager>
  bool StoreValues(const typename Manager::Values& values) const {
    return (ChangesOpenedRecord() ? Manager::ChangeRecordAt(m_mainWindow, RecordAddress(), values)
                                  : Manager::AppendRecord(m_mainWindow, values)) != 0;
  }

  std::string Text(int controlId) const;
  void SetText(int controlId, const std::string& text) const;
  // A message box owned by this dialog (modal to it). Returns the answer.
  int ShowBox(const char* text, const char* caption, unsigned style) const;
  // A required field is empty: tells the user (message, by default in an
  // information box captioned "Quillmate") and then puts the focus into that
  // field, with its text selected, rather than leaving it on the button just
  // pressed.
  void AskToFill(const char* message, int emptyFieldId, const char* caption = "Quillmate",
                 unsigned style = kMbOk | kMbIconInformation) const;

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  static bool TakeLoopMessage(HWND dialog, const MSG& message);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Initialise();
  // Esc, Cancel, Close and the close box.
  void LeaveWithoutSaving();
  std::vector<std::pair<HWND, std::string>> InputStates() const;

  EditorTemplate m_description;
  HWND m_mainWindow;
  HWND m_dialog;
  bool m_edit;
  std::unique_ptr<CRecordWatch> m_watch;
  std::vector<std::pair<HWND, std::string>> m_savedState;
  std::vector<int> m_ignored;
};

#endif  // QUILLMATE_MANAGERS_CEDITORDIALOG_H
