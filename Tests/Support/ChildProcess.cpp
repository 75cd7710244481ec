// CreateProcessA and WaitForSingleObject on Windows; posix_spawn and a
// polling waitpid elsewhere.
#include "Support/ChildProcess.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;
#endif

namespace qmtest {

#ifdef _WIN32

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
  std::string commandLine = "\"" + program + "\"";
  for (const std::string& argument : arguments) commandLine += " \"" + argument + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return;
  CloseHandle(info.hThread);
  m_process = reinterpret_cast<std::intptr_t>(info.hProcess);
  m_started = true;
}

ChildProcess::~ChildProcess() {
  if (!m_started) return;
  HANDLE process = reinterpret_cast<HANDLE>(m_process);
  if (!m_ended) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
  }
  CloseHandle(process);
}

int ChildProcess::Wait(double seconds) {
  if (!m_started) return -1;
  if (m_ended) return m_exitCode;
  HANDLE process = reinterpret_cast<HANDLE>(m_process);
  if (WaitForSingleObject(process, static_cast<DWORD>(seconds * 1000)) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  m_ended = true;
  m_exitCode = static_cast<int>(code);
  return m_exitCode;
}

#else

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(&word[0]);
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return;
  m_process = pid;
  m_started = true;
}

ChildProcess::~ChildProcess() {
  if (!m_started || m_ended) return;
  kill(static_cast<pid_t>(m_process), SIGKILL);
  int status = 0;
  waitpid(static_cast<pid_t>(m_process), &status, 0);
}

int ChildProcess::Wait(double seconds) {
  if (!m_started) return -1;
  if (m_ended) return m_exitCode;
  const struct timespec pause = {0, 10 * 1000 * 1000};
  for (double waited = 0; waited <= seconds; waited += 0.01) {
    int status = 0;
    const pid_t done = waitpid(static_cast<pid_t>(m_process), &status, WNOHANG);
    if (done == static_cast<pid_t>(m_process)) {
      m_ended = true;
      m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return m_exitCode;
    }
    nanosleep(&pause, nullptr);
  }
  return -1;
}

#endif

}  // namespace qmtest
