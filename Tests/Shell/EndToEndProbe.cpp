// EndToEndProbe: looks at a running quillmate.exe from outside, for
// EndToEndTests.sh. Each command prints one line and exits with 0 when it
// found what it was asked for, 1 otherwise; waiting commands give up after
// their bound.
//
//   main-window [visible|held|none]    state of the main window, waiting for the given one
//   main-window-count                  how many main windows exist (top-level or held in the tray)
//   tray-icon [yes|no]                 whether Quillmate's icon is in the notification area
//   exit                               sends Exit (290) to the main window and answers Yes
//   exit-question                      sends Exit and leaves its question open
//   answer yes|no                      answers the open question
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kMainClass = "QuillmateClass";
constexpr UINT kTrayIconId = 102;
constexpr UINT kExitCommand = 290;
constexpr DWORD kWaitMilliseconds = 30000;

BOOL CALLBACK CollectMainWindows(HWND topLevel, LPARAM parameter) {
  auto* found = reinterpret_cast<std::vector<HWND>*>(parameter);
  char className[64] = {};
  GetClassNameA(topLevel, className, sizeof className);
  if (std::strcmp(className, kMainClass) == 0) found->push_back(topLevel);
  // A main window hidden in the tray is the child of a holder window.
  for (HWND child = FindWindowExA(topLevel, nullptr, kMainClass, nullptr); child;
       child = FindWindowExA(topLevel, child, kMainClass, nullptr))
    found->push_back(child);
  return TRUE;
}

std::vector<HWND> MainWindows() {
  std::vector<HWND> found;
  EnumWindows(CollectMainWindows, reinterpret_cast<LPARAM>(&found));
  return found;
}

// "visible": a shown top-level window; "held": hidden in the tray (the
// invisible child of a holder window); "invisible": a top-level window not
// shown (yet); "none".
std::string MainWindowState() {
  std::vector<HWND> windows = MainWindows();
  if (windows.empty()) return "none";
  HWND window = windows.front();
  bool topLevel = GetAncestor(window, GA_PARENT) == GetDesktopWindow();
  bool visible = IsWindowVisible(window) != FALSE;
  if (topLevel) return visible ? "visible" : "invisible";
  return visible ? "held-but-visible" : "held";
}

bool TrayIconPresent() {
  HWND trayWindow = FindWindowA("TrayIconClass", nullptr);
  if (!trayWindow) return false;
  NOTIFYICONDATAA data;
  std::memset(&data, 0, sizeof data);
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = trayWindow;
  data.uID = kTrayIconId;
  data.uFlags = NIF_TIP;
  // The shell modifies only an icon that exists; the tooltip stays the same.
  std::strcpy(data.szTip, "Quillmate - Right click to begin.");
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

template <class Check>
bool WaitFor(Check check) {
  DWORD start = GetTickCount();
  while (!check()) {
    if (GetTickCount() - start > kWaitMilliseconds) return check();
    Sleep(100);  // polling another process: there is nothing to wait on
  }
  return true;
}

struct QuestionSearch {
  DWORD processId;
  HWND box;
};

BOOL CALLBACK LookForQuestion(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<QuestionSearch*>(parameter);
  char className[16] = {}, title[64] = {};
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, title, sizeof title);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && std::strcmp(className, "#32770") == 0 &&
      std::strcmp(title, "Quillmate") == 0 && IsWindowVisible(window)) {
    search->box = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindQuestionBox(DWORD processId) {
  QuestionSearch search = {processId, nullptr};
  EnumWindows(LookForQuestion, reinterpret_cast<LPARAM>(&search));
  return search.box;
}

// Sends Exit (290) to the main window and waits for its question; prints it.
int AskExit(HWND* box) {
  std::vector<HWND> windows = MainWindows();
  if (windows.empty()) {
    std::puts("exit: no main window");
    return 1;
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(windows.front(), &processId);
  PostMessageA(windows.front(), WM_COMMAND, kExitCommand, 0);
  if (!WaitFor([&] { return (*box = FindQuestionBox(processId)) != nullptr; })) {
    std::puts("exit: no question box");
    return 1;
  }
  // The box's text is its static control (id 0xFFFF).
  char text[256] = {};
  GetDlgItemTextA(*box, 0xFFFF, text, sizeof text);
  std::printf("question: %s\n", text);
  return 0;
}

// Answers the open question box of the main window's process with Yes or No.
int AnswerQuestion(HWND box, int button) {
  HWND control = GetDlgItem(box, button);
  if (!control) {
    std::puts("exit: the box has no such button");
    return 1;
  }
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
  return 0;
}

HWND OpenQuestionBox() {
  std::vector<HWND> windows = MainWindows();
  if (windows.empty()) return nullptr;
  DWORD processId = 0;
  GetWindowThreadProcessId(windows.front(), &processId);
  return FindQuestionBox(processId);
}

}  // namespace

int main(int argc, char** argv) {
  std::string command = argc > 1 ? argv[1] : "";
  std::string wanted = argc > 2 ? argv[2] : "";
  if (command == "main-window") {
    if (!wanted.empty()) WaitFor([&] { return MainWindowState() == wanted; });
    std::string state = MainWindowState();
    std::printf("%s\n", state.c_str());
    return wanted.empty() || state == wanted ? 0 : 1;
  }
  if (command == "main-window-count") {
    std::printf("%u\n", static_cast<unsigned>(MainWindows().size()));
    return 0;
  }
  if (command == "tray-icon") {
    bool want = wanted != "no";
    WaitFor([&] { return TrayIconPresent() == want; });
    bool present = TrayIconPresent();
    std::printf("%s\n", present ? "yes" : "no");
    return present == want ? 0 : 1;
  }
  if (command == "exit" || command == "exit-question") {
    HWND box = nullptr;
    if (AskExit(&box) != 0) return 1;
    return command == "exit" ? AnswerQuestion(box, IDYES) : 0;
  }
  if (command == "answer") {
    HWND box = OpenQuestionBox();
    if (!box) {
      std::puts("answer: no question box");
      return 1;
    }
    return AnswerQuestion(box, wanted == "yes" ? IDYES : IDNO);
  }
  std::fprintf(stderr,
               "usage: EndToEndProbe main-window [state] | main-window-count | tray-icon [yes|no] | exit |\n"
               "       exit-question | answer yes|no\n");
  return 2;
}
