// Reads the body file whole and walks it with the RTF tokenizer.
#include "Editors/RichTextCheck.h"

#include <fstream>
#include <iterator>
#include <new>
#include <vector>

#include "Records/MessageBoxSeam.h"
#include "Records/RtfTokenizer.h"

namespace {

// The problem with the file's contents, or null when it is fine (or cannot
// be read here, which the load itself then meets and handles).
const char* ProblemOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return nullptr;
  std::vector<char> bytes;
  try {
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  } catch (const std::bad_alloc&) {
    return "it is too large to be read";
  }
  const RtfStatus status = CheckRtfBody(bytes.data(), bytes.size());
  return status == RtfStatus::Ok ? nullptr : RtfStatusText(status);
}

}  // namespace

bool RichTextFileCanBeLoaded(HWND owner, const std::string& path) {
  const char* problem = ProblemOf(path);
  if (!problem) return true;
  const std::string text = "The text of this note cannot be shown: its file \"" + path + "\" holds " +
                           problem + ".\n\nThe note opens empty; the file stays as it is unless you save.";
  ShowMessageBox(owner, text.c_str(), "Quillmate", kMbOk | kMbIconWarning);
  return false;
}
