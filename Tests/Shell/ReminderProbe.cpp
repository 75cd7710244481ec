// ReminderProbe: seeds and reads the time-notification store of the prefix's
// data folder, plays the user of another program while a reminder falls due,
// and works reminder windows of a running quillmate.exe from outside, for
// ReminderEndToEndTests.sh. Each command prints its findings, one per line,
// and exits with 0 when it could do what it was asked; every wait is bounded.
//
//   seed TITLE TEXT SECONDS [COUNT] [TYPE]  adds COUNT records due SECONDS from now
//                                           (COUNT > 1: the texts are TEXT0, TEXT1, ...)
//   records                                 one line per stored record: title|text|seconds from now
//   typing TITLE                            a window of its own with the foreground and an edit
//                                           with the focus; once reminder TITLE is up, types
//                                           "hello world " into it with SendInput
//   count TITLE                             how many reminder windows TITLE are open (after 1 s)
//   wait TITLE                              waits until reminder TITLE is open
//   press TITLE ok|snooze [CHOICE]          clicks OK or Snooze (after choosing CHOICE)
//   dismiss-all TITLE                       clicks OK on reminders TITLE until none comes
//   started                                 waits until the main window exists, then 2 s more
//   exit-request                            sends "QuillmateExitRequest" to the main window
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "Records/DataFolders.h"
#include "Records/DatabaseObject.h"
#include "Records/LocalClock.h"
#include "Records/RecordText.h"
#include "Resources/ReminderWindowIds.h"

namespace {

constexpr DWORD kBoundMs = 30000;

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Pumps this thread's messages until done() or the bound.
template <class Condition>
bool PumpUntil(Condition done, DWORD boundMs = kBoundMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    Pump();
    if (done()) return true;
    if (GetTickCount() - start > boundMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

long long SecondsOf(const RecordTime& time) {
  SYSTEMTIME system;
  std::memcpy(&system, &time, sizeof system);
  FILETIME file;
  SystemTimeToFileTime(&system, &file);
  ULARGE_INTEGER value;
  value.LowPart = file.dwLowDateTime;
  value.HighPart = file.dwHighDateTime;
  return static_cast<long long>(value.QuadPart / 10000000ULL);
}

RecordTime SecondsFromNow(int seconds) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  FILETIME file;
  SystemTimeToFileTime(&now, &file);
  ULARGE_INTEGER value;
  value.LowPart = file.dwLowDateTime;
  value.HighPart = file.dwHighDateTime;
  value.QuadPart += static_cast<long long>(seconds) * 10000000LL;
  file.dwLowDateTime = value.LowPart;
  file.dwHighDateTime = value.HighPart;
  FileTimeToSystemTime(&file, &now);
  RecordTime time;
  std::memcpy(&time, &now, sizeof time);
  return time;
}

std::string TextOf(HWND window) {
  char text[512] = {};
  // WM_GETTEXT: GetWindowText cannot read another process's controls.
  SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

HWND FindReminder(const char* title) {
  HWND window = FindWindowA("#32770", title);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

int CountReminders(const char* title) {
  int count = 0;
  for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", title); window != nullptr;
       window = FindWindowExA(nullptr, window, "#32770", title)) {
    if (IsWindowVisible(window)) ++count;
  }
  return count;
}

int Seed(int argc, char** argv) {
  if (argc < 5) return 2;
  const int seconds = std::atoi(argv[4]);
  const int count = argc > 5 ? std::atoi(argv[5]) : 1;
  const int type = argc > 6 ? std::atoi(argv[6]) : 0;
  if (!MakeDataFolders()) return 1;
  auto store = OpenStore<DatabaseDataTimeNotif>();
  if (!store) return 1;
  int added = 0;
  for (int i = 0; i < count; ++i) {
    DatabaseDataTimeNotif& record = store->Data();
    std::memset(&record, 0, sizeof record);
    CopyRecordText(record.date, "09:00:00 12/07/2026");
    CopyRecordText(record.title, argv[2]);
    const std::string text = count > 1 ? std::string(argv[3]) + std::to_string(i) : std::string(argv[3]);
    CopyRecordText(record.text, text.c_str());
    record.type = type;
    record.time = SecondsFromNow(seconds);
    if (store->AddRecord() != 0) ++added;
  }
  CloseStore(store);
  std::printf("seeded %d\n", added);
  return added == count ? 0 : 1;
}

int Records() {
  if (!MakeDataFolders()) return 1;
  auto store = OpenStore<DatabaseDataTimeNotif>();
  if (!store) return 1;
  const long long now = SecondsOf(SecondsFromNow(0));
  store->ForEachRecordOf([now](const DatabaseDataTimeNotif& record, std::uint32_t) {
    std::printf("%s|%s|%lld\n", RecordTextOf(record.title).c_str(), RecordTextOf(record.text).c_str(),
                SecondsOf(record.time) - now);
  });
  CloseStore(store);
  return 0;
}

LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

void TypeCharacter(char character) {
  const SHORT key = VkKeyScanA(character);
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = static_cast<WORD>(LOBYTE(key));
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

// Who has the foreground, for the log when a check fails.
std::string ForegroundName() {
  HWND window = GetForegroundWindow();
  if (window == nullptr) return "none";
  char className[64] = {};
  char text[128] = {};
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, text, sizeof text);
  return std::string(className) + " \"" + text + "\"";
}

int Typing(const char* title) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = HelperProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "ReminderProbeHelper";
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&windowClass);
  HWND helper = CreateWindowExA(0, "ReminderProbeHelper", "Typing helper", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                420, 420, 160, nullptr, nullptr, windowClass.hInstance, nullptr);
  HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 380,
                              24, helper, nullptr, windowClass.hInstance, nullptr);
  SetForegroundWindow(helper);
  SetFocus(edit);
  PumpUntil([&] { return GetForegroundWindow() == helper && GetFocus() == edit; }, 5000);
  std::printf("helper-foreground-before: %s\n", GetForegroundWindow() == helper ? "yes" : "no");
  std::fflush(stdout);
  HWND reminder = nullptr;
  if (!PumpUntil([&] { return (reminder = FindReminder(title)) != nullptr; }, 60000)) {
    std::printf("reminder: never shown\n");
    return 1;
  }
  std::printf("foreground-when-shown: %s\n", ForegroundName().c_str());
  // The user goes on typing after it appeared; a space would press a
  // focused OK button.
  PumpUntil([] { return false; }, 1000);
  std::printf("foreground-before-typing: %s\n", ForegroundName().c_str());
  const char* typed = "hello world ";
  for (const char* c = typed; *c; ++c) TypeCharacter(*c);
  char text[64] = {};
  PumpUntil([&] {
    GetWindowTextA(edit, text, sizeof text);
    return std::strcmp(text, typed) == 0;
  }, 10000);
  PumpUntil([] { return false; }, 500);
  GetWindowTextA(edit, text, sizeof text);
  std::printf("text: [%s]\n", text);
  std::printf("helper-foreground-after: %s\n", GetForegroundWindow() == helper ? "yes" : "no");
  std::printf("reminder: %s\n", IsWindow(reminder) && IsWindowVisible(reminder) ? "open" : "gone");
  std::printf("reminder-foreground: %s\n", GetForegroundWindow() == reminder ? "yes" : "no");
  std::printf("foreground-at-end: %s\n", ForegroundName().c_str());
  DestroyWindow(helper);
  return 0;
}

int Press(const char* title, const char* button, int choice) {
  HWND reminder = nullptr;
  if (!PumpUntil([&] { return (reminder = FindReminder(title)) != nullptr; })) {
    std::printf("no reminder %s\n", title);
    return 1;
  }
  const bool snooze = std::strcmp(button, "snooze") == 0;
  if (snooze && choice >= 0) {
    HWND choices = GetDlgItem(reminder, IDC_REMINDER_SNOOZE_CHOICE);
    SendMessageA(choices, CB_SETCURSEL, choice, 0);
    SendMessageA(reminder, WM_COMMAND, MAKEWPARAM(IDC_REMINDER_SNOOZE_CHOICE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(choices));
  }
  SendMessageA(GetDlgItem(reminder, snooze ? IDC_REMINDER_SNOOZE : IDOK), BM_CLICK, 0, 0);
  const bool gone = PumpUntil([&] { return !IsWindow(reminder); }, 10000);
  std::printf("%s\n", gone ? "closed" : "still open");
  return gone ? 0 : 1;
}

int DismissAll(const char* title) {
  std::map<std::string, int> seen;
  int dismissed = 0;
  int mostOpen = 0;
  for (;;) {
    HWND reminder = nullptr;
    if (!PumpUntil([&] { return (reminder = FindReminder(title)) != nullptr; }, 3000)) break;
    const int open = CountReminders(title);
    if (open > mostOpen) mostOpen = open;
    ++seen[TextOf(GetDlgItem(reminder, IDC_REMINDER_TEXT))];
    SendMessageA(reminder, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(reminder, IDOK)));
    if (!PumpUntil([&] { return !IsWindow(reminder); }, 10000)) break;
    ++dismissed;
  }
  int twice = 0;
  for (const auto& entry : seen) twice += entry.second > 1 ? 1 : 0;
  std::printf("dismissed %d distinct %d twice %d most-open %d\n", dismissed, static_cast<int>(seen.size()), twice,
              mostOpen);
  return 0;
}

BOOL CALLBACK FindMainChild(HWND window, LPARAM parameter) {
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, "QuillmateClass") != 0) return TRUE;
  *reinterpret_cast<HWND*>(parameter) = window;
  return FALSE;
}

BOOL CALLBACK FindMain(HWND window, LPARAM parameter) {
  FindMainChild(window, parameter);
  // Hidden in the tray it is a child of a holder window.
  if (*reinterpret_cast<HWND*>(parameter) == nullptr) EnumChildWindows(window, FindMainChild, parameter);
  return *reinterpret_cast<HWND*>(parameter) == nullptr;
}

HWND MainWindow() {
  HWND main = nullptr;
  EnumWindows(FindMain, reinterpret_cast<LPARAM>(&main));
  return main;
}

int Started() {
  const bool found = PumpUntil([] { return MainWindow() != nullptr; });
  PumpUntil([] { return false; }, 2000);
  std::printf("%s\n", found ? "started" : "not started");
  return found ? 0 : 1;
}

int ExitRequest() {
  HWND main = MainWindow();
  if (main == nullptr) {
    std::printf("no main window\n");
    return 1;
  }
  DWORD_PTR answer = 0;
  const UINT message = RegisterWindowMessageA("QuillmateExitRequest");
  if (!SendMessageTimeoutA(main, message, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer)) {
    std::printf("no answer\n");
    return 1;
  }
  std::printf("%s\n", answer == 1 ? "accepted" : "refused");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string command = argv[1];
  if (command == "seed") return Seed(argc, argv);
  if (command == "records") return Records();
  if (command == "typing" && argc > 2) return Typing(argv[2]);
  if (command == "count" && argc > 2) {
    PumpUntil([] { return false; }, 1000);
    std::printf("%d\n", CountReminders(argv[2]));
    return 0;
  }
  if (command == "wait" && argc > 2) {
    const bool open = PumpUntil([&] { return FindReminder(argv[2]) != nullptr; });
    std::printf("%s\n", open ? "open" : "not open");
    return open ? 0 : 1;
  }
  if (command == "press" && argc > 3) return Press(argv[2], argv[3], argc > 4 ? std::atoi(argv[4]) : -1);
  if (command == "dismiss-all" && argc > 2) return DismissAll(argv[2]);
  if (command == "started") return Started();
  if (command == "exit-request") return ExitRequest();
  return 2;
}
