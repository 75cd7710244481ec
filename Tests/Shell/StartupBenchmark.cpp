// StartupBenchmark: the cold start of quillmate.exe beside Wine's notepad,
// interleaved in one run (figures only, no assertions). For each start it
// measures, from CreateProcess on: the time until a visible top-level window
// of the process exists, the time until the process is idle for input
// (WaitForInputIdle), and its working set two seconds after the start.
//
//   StartupBenchmark QUILLMATE.exe [ROUNDS [OTHER.exe]]
//
// With OTHER.exe (another build of the program), its first start takes a
// turn in every round too, so that a change is measured against the build
// before it in one run, on a machine whose speed drifts between runs.
// Three programs take turns in every round: notepad, Quillmate's first start
// (the marker "FirstTime" deleted, so the window shows) and its later start
// (the marker set, so it stays hidden in the tray: no visible window).
// Each started process is ended (with the help viewer a first start opens)
// before the next one starts. Prints each start's medians and the ratios
// Quillmate / notepad (lower is better).
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kSettleMilliseconds = 2000;
constexpr DWORD kBoundMilliseconds = 30000;
constexpr DWORD kQuietMilliseconds = 1000;
constexpr DWORD kPoliteMilliseconds = 5000;

struct Sample {
  double visibleMs = -1;
  double idleMs = -1;
  double workingSetMb = 0;
};

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct WindowSearch {
  DWORD processId;
  bool found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window) && GetWindowTextLengthA(window) > 0) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

bool HasVisibleWindow(DWORD processId) {
  WindowSearch search{processId, false};
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct IdleWait {
  HANDLE process;
  double startMs;
  double idleMs;
};

DWORD WINAPI WaitForIdle(void* parameter) {
  auto* wait = static_cast<IdleWait*>(parameter);
  if (WaitForInputIdle(wait->process, kBoundMilliseconds) == 0) wait->idleMs = NowMs() - wait->startMs;
  return 0;
}

// Ends the children a start left behind (the help viewer of a first start).
void EndChildren(DWORD parentId) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ParentProcessID != parentId) continue;
    if (HANDLE child = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
      TerminateProcess(child, 0);
      WaitForSingleObject(child, kBoundMilliseconds);
      CloseHandle(child);
    }
  }
  CloseHandle(snapshot);
}

// Quillmate's main window, shown or held in the tray (then a child of the
// holder window), of one process.
struct MainWindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMainWindowAmongChildren(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<MainWindowSearch*>(parameter);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (lstrcmpA(className, "QuillmateClass") != 0) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK FindMainWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<MainWindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId) return TRUE;
  FindMainWindowAmongChildren(window, parameter);
  if (!search->found) EnumChildWindows(window, FindMainWindowAmongChildren, parameter);
  return search->found ? FALSE : TRUE;
}

// Ends a started program as its user or the setup program would: Quillmate
// through its exit request (its icon leaves the notification area; a killed
// process leaves it behind, and the next start meets a fuller tray than any
// real start does), notepad by closing its window. Killed only when that
// fails within the bound.
void EndPolitely(const PROCESS_INFORMATION& process) {
  MainWindowSearch search{process.dwProcessId, nullptr};
  EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
  DWORD_PTR answer = 0;
  if (search.found) {
    SendMessageTimeoutA(search.found, RegisterWindowMessageA("QuillmateExitRequest"), 0, 0, SMTO_ABORTIFHUNG,
                        kPoliteMilliseconds, &answer);
  } else {
    PostThreadMessageA(process.dwThreadId, WM_QUIT, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, kPoliteMilliseconds) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 0);
}

bool SetFirstStartMarker(bool set) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ferrowind", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  LONG result = set ? RegSetValueExA(key, "FirstTime", 0, REG_SZ, reinterpret_cast<const BYTE*>("Done"), 5)
                    : RegDeleteValueA(key, "FirstTime");
  RegCloseKey(key);
  return result == ERROR_SUCCESS || (!set && result == ERROR_FILE_NOT_FOUND);
}

bool Start(const char* label, const std::string& commandLine, bool expectWindow, Sample& sample) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string line = commandLine;
  const double start = NowMs();
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", commandLine.c_str(), GetLastError());
    return false;
  }
  IdleWait idle{process.hProcess, start, -1};
  HANDLE idleThread = CreateThread(nullptr, 0, WaitForIdle, &idle, 0, nullptr);
  while (expectWindow && sample.visibleMs < 0 && NowMs() - start < kBoundMilliseconds) {
    if (HasVisibleWindow(process.dwProcessId))
      sample.visibleMs = NowMs() - start;
    else
      Sleep(1);
  }
  WaitForSingleObject(idleThread, kBoundMilliseconds);
  CloseHandle(idleThread);
  sample.idleMs = idle.idleMs;
  // Every start on the error stream, so that the medians can be checked.
  std::fprintf(stderr, "%-14s visible %7.1f ms  input-idle %7.1f ms\n", label, sample.visibleMs, sample.idleMs);
  const double elapsed = NowMs() - start;
  if (elapsed < kSettleMilliseconds) Sleep(static_cast<DWORD>(kSettleMilliseconds - elapsed));
  // A program that has ended by now did not start: most often another
  // Quillmate of the same Wine prefix held the single-instance mutex, and
  // this one only brought it forward. Such a start measures nothing.
  const bool endedByItself = WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
  if (endedByItself) std::fprintf(stderr, "%s ended by itself: not counted\n", commandLine.c_str());
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory))
    sample.workingSetMb = static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
  EndChildren(process.dwProcessId);
  EndPolitely(process);
  WaitForSingleObject(process.hProcess, kBoundMilliseconds);
  // The desktop goes on tearing down the ended program's windows for a while:
  // the next start should not pay for that.
  Sleep(kQuietMilliseconds);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return !endedByItself;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Series {
  const char* name;
  std::vector<double> visible, idle, memory;
  void Add(const Sample& sample) {
    if (sample.visibleMs >= 0) visible.push_back(sample.visibleMs);
    if (sample.idleMs >= 0) idle.push_back(sample.idleMs);
    memory.push_back(sample.workingSetMb);
  }
};

void Report(const Series& series, const Series& peer) {
  std::printf("%-22s visible %7.1f ms  input-idle %7.1f ms  working set %6.1f MB", series.name,
              Median(series.visible), Median(series.idle), Median(series.memory));
  if (&series != &peer) {
    if (!series.visible.empty())
      std::printf("  | visible %.2fx", Median(series.visible) / Median(peer.visible));
    std::printf("  input-idle %.2fx  working set %.2fx", Median(series.idle) / Median(peer.idle),
                Median(series.memory) / Median(peer.memory));
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: StartupBenchmark QUILLMATE.exe [ROUNDS [OTHER.exe]]\n");
    return 2;
  }
  const std::string quillmate = std::string("\"") + argv[1] + "\"";
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
  const std::string other = argc > 3 ? std::string("\"") + argv[3] + "\"" : std::string();
  // A window of our own keeps Wine's virtual desktop alive between the
  // starts; without one it ends with each started program, and the next
  // program races its teardown.
  HWND keeper = CreateWindowExA(0, "STATIC", "StartupBenchmark", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  Series notepad{"notepad", {}, {}, {}}, first{"quillmate first start", {}, {}, {}},
      later{"quillmate later start", {}, {}, {}}, otherFirst{"other first start", {}, {}, {}};
  // One untimed start each, so that no program pays for a cold page cache.
  Sample warm;
  Start("warm-up", "notepad.exe", true, warm);
  SetFirstStartMarker(false);
  Start("warm-up", quillmate, true, warm);
  for (int round = 0; round < rounds; ++round) {
    Sample sample;
    if (Start("notepad", "notepad.exe", true, sample)) notepad.Add(sample);
    sample = Sample();
    // The other build goes first in every second round: a start right
    // after notepad's meets another desktop than one after a later start.
    const bool otherFirstInRound = !other.empty() && round % 2 == 1;
    auto startOther = [&] {
      Sample otherSample;
      if (SetFirstStartMarker(false) && Start("other first", other, true, otherSample)) otherFirst.Add(otherSample);
    };
    if (otherFirstInRound) startOther();
    if (SetFirstStartMarker(false) && Start("first start", quillmate, true, sample)) first.Add(sample);
    sample = Sample();
    if (SetFirstStartMarker(true) && Start("later start", quillmate + " /tray", false, sample)) later.Add(sample);
    if (!other.empty() && !otherFirstInRound) startOther();
  }
  std::printf("cold start, %d interleaved rounds, medians (ratios: Quillmate / notepad, lower is better)\n", rounds);
  Report(notepad, notepad);
  Report(first, notepad);
  Report(later, notepad);
  if (!other.empty()) Report(otherFirst, notepad);
  DestroyWindow(keeper);
  return 0;
}
