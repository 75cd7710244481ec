// A folder of its own for the running test under the system's temporary
// folder, removed with everything in it when the object ends. Its name holds
// the test's name, so a leftover tells which test left it.
#ifndef QUILLMATE_TESTS_SUPPORT_SCRATCHFOLDER_H
#define QUILLMATE_TESTS_SUPPORT_SCRATCHFOLDER_H

#include <filesystem>
#include <string>

namespace qmtest {

class ScratchFolder {
 public:
  // Creates "<prefix>-<test name>-<random>-<ticks>"; made while a test runs
  // (a fixture member or SetUp), so that the test's name is known.
  explicit ScratchFolder(const std::string& prefix);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return m_path; }
  std::string PathOf(const std::string& name) const { return (m_path / name).string(); }

 private:
  std::filesystem::path m_path;
};

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_SCRATCHFOLDER_H
