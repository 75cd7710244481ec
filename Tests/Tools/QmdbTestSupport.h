// The fixture of the qmdb tests: the real binary run with its output in
// files, the commands run in-process, and a text-note file to damage.
#ifndef QUILLMATE_TESTS_TOOLS_QMDBTESTSUPPORT_H
#define QUILLMATE_TESTS_TOOLS_QMDBTESTSUPPORT_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "QmdbCommands.h"
#include "Records/DatabaseObject.h"
#include "Records/RecordText.h"
#include "../Records/RecordsTestSupport.h"
#include "Support/ReachablePath.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace qmrecords {

// The path of the qmdb binary as this process can start it.
inline std::string QmdbBinary() {
  return qmtest::ReachablePath(QMDB_BINARY);
}

class QmdbTest : public RecordsTest {
 protected:
  // Runs the real qmdb with stdin from a file; returns its exit status.
  int RunBinary(const std::string& arguments, const std::string& input, std::string& out, std::string& err) {
    const std::string in = PathOf("stdin.txt"), o = PathOf("stdout.txt"), e = PathOf("stderr.txt");
    std::ofstream(in, std::ios::binary) << input;
    std::string command =
        "\"" + QmdbBinary() + "\" " + arguments + " < \"" + in + "\" > \"" + o + "\" 2> \"" + e + "\"";
#ifdef _WIN32
    command = "\"" + command + "\"";  // cmd /c strips one outer pair of quotes
#endif
    int status = std::system(command.c_str());
    out = ReadFileText(o);
    err = ReadFileText(e);
#ifdef _WIN32
    return status;
#else
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  }

  int Run(const std::vector<std::string>& arguments, const std::string& input, std::string& out,
          std::string& err) {
    std::istringstream in(input);
    std::ostringstream o, e;
    int result = RunQmdb(arguments, in, o, e);
    out = o.str();
    err = e.str();
    return result;
  }

  static std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
  }

  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) lines.push_back(line);
    }
    return lines;
  }

  // Text notes A, B, C, D written through a store.
  std::string MakeNotes() {
    const std::string path = PathOf("TextNotes.qmt");
    auto store = OpenStore<DatabaseDataTextNote>(path);
    EXPECT_TRUE(store);
    for (const char* title : {"A", "B", "C", "D"}) {
      store->Data() = DatabaseDataTextNote{};
      CopyRecordText(store->Data().title, title);
      store->AddRecord();
    }
    EXPECT_TRUE(CloseStore(store));
    return path;
  }

  void Patch(const std::string& path, std::size_t offset, std::uint32_t value) {
    Bytes bytes = ReadFileBytes(path);
    for (int i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<unsigned char>(value >> (8 * i));
    WriteFileBytes(path, bytes);
  }
};

}  // namespace qmrecords

#endif  // QUILLMATE_TESTS_TOOLS_QMDBTESTSUPPORT_H
