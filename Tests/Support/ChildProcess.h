// Another process of this build's programs, started with arguments and waited
// for with a bound: for tests of two processes working on one file (natively,
// and as two Windows processes under Wine).
#ifndef QUILLMATE_TESTS_SUPPORT_CHILDPROCESS_H
#define QUILLMATE_TESTS_SUPPORT_CHILDPROCESS_H

#include <cstdint>
#include <string>
#include <vector>

namespace qmtest {

class ChildProcess {
 public:
  // Starts program (a path this process can open, see ReachablePath) with
  // the arguments; none of them may hold a double quote.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
  // A child still running is killed.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return m_started; }
  // The exit code; -1 when it was not started or did not end within seconds
  // (it is killed then).
  int Wait(double seconds);

 private:
  bool m_started = false;
  bool m_ended = false;
  int m_exitCode = -1;
  std::intptr_t m_process = 0;  // HANDLE or pid
};

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_CHILDPROCESS_H
