// The one road by which the program shows a message box. Every user-visible
// box of every layer (stores, managers, main window, editors) calls
// ShowMessageBox; the Windows build shows a real MessageBoxA, the host build
// prints the box to stderr and answers its default button, and tests install
// a script that reads each box and gives the answer.
//
// Style and answer values are the Windows MB_ and ID values, so callers pass
// and compare them unchanged in both builds.
#ifndef QUILLMATE_RECORDS_MESSAGEBOXSEAM_H
#define QUILLMATE_RECORDS_MESSAGEBOXSEAM_H

#include <functional>

// Button sets (low four bits of the style).
constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbOkCancel = 0x1;
constexpr unsigned kMbAbortRetryIgnore = 0x2;
constexpr unsigned kMbYesNoCancel = 0x3;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbRetryCancel = 0x5;
// Icons.
constexpr unsigned kMbIconError = 0x10;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr unsigned kMbIconWarning = 0x30;
constexpr unsigned kMbIconInformation = 0x40;
// Default button (the first one unless one of these is given).
constexpr unsigned kMbDefaultButton2 = 0x100;
constexpr unsigned kMbDefaultButton3 = 0x200;
// Modality and placement flags pass through unchanged.
constexpr unsigned kMbTaskModal = 0x2000;
constexpr unsigned kMbSetForeground = 0x10000;
constexpr unsigned kMbTopMost = 0x40000;

// Answers.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// Shows a box with the given owner window (an HWND), text, caption and style
// and returns the button the user chose (kIdOk, kIdYes, ...). A null owner
// means the window the user is working in, as the installed owner finder
// tells (none installed: no owner). Never throws.
int ShowMessageBox(void* ownerWindow, const char* text, const char* caption, unsigned style);

// How many boxes are up right now (nested ones count each). A box is a
// question whose answer some action waits for, so the program must not end
// under it.
int OpenMessageBoxCount();

// Where a box without a named owner belongs: the window the user is working
// in (the shell installs one that answers the open dialog, else the main
// window). An owned box is modal to its owner, so a second click cannot
// start a second action behind it. Null: boxes without owner stay unowned.
using MessageBoxOwnerFinder = void* (*)();
void SetMessageBoxOwnerFinder(MessageBoxOwnerFinder finder);

// The answer a box of this style gives when the user just presses Enter: its
// default button.
int DefaultMessageBoxAnswer(unsigned style);

// A stand-in for the user: receives each box and returns the answer.
using MessageBoxScript =
    std::function<int(void* ownerWindow, const char* text, const char* caption, unsigned style)>;

// Installs a script for the lifetime of the object and restores whatever was
// installed before (possibly nothing, the real boxes) when it ends. Scopes
// nest. Not thread-safe: install scripts from the thread that shows boxes.
class ScopedMessageBoxScript {
 public:
  explicit ScopedMessageBoxScript(MessageBoxScript script);
  ~ScopedMessageBoxScript();
  ScopedMessageBoxScript(const ScopedMessageBoxScript&) = delete;
  ScopedMessageBoxScript& operator=(const ScopedMessageBoxScript&) = delete;

 private:
  MessageBoxScript m_previous;
};

// The platform's own box (MessageBoxA on Windows, stderr on the host); for
// ShowMessageBox only.
int PlatformShowMessageBox(void* ownerWindow, const char* text, const char* caption, unsigned style);

#endif  // QUILLMATE_RECORDS_MESSAGEBOXSEAM_H
