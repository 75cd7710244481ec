// Letter case is folded for every pair of letters that the supported code
// pages can hold (ASCII, Latin-1, Latin Extended-A, the Vietnamese horned
// letters, Greek with its accents and final sigma, Cyrillic), so two titles
// that differ only in case never land on one file on Windows. Where Windows'
// own table might keep two letters apart (dotless i, micro sign, final
// sigma), they are folded anyway: a needless " (2)" costs nothing, a missed
// one overwrites a file.
#include "OutputFolder.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "CodePage.h"
#include "OutputFolderPlatform.h"
#include "Records/FileSystemPlatform.h"

namespace {

constexpr std::size_t kMaxStemBytes = 100;

// Single letters whose capital lies outside the runs below.
const struct {
  std::uint16_t lower, upper;
} kLoneCapitals[] = {
    {0x00B5, 0x039C}, {0x0131, 0x0049}, {0x01A1, 0x01A0}, {0x01B0, 0x01AF}, {0x03AC, 0x0386},
    {0x03AD, 0x0388}, {0x03AE, 0x0389}, {0x03AF, 0x038A}, {0x03C2, 0x03A3}, {0x03CC, 0x038C},
    {0x03CD, 0x038E}, {0x03CE, 0x038F}, {0x0491, 0x0490},
};

std::uint32_t FoldCase(std::uint32_t code) {
  for (const auto& capital : kLoneCapitals) {
    if (code == capital.lower) return capital.upper;
  }
  if (code >= 'a' && code <= 'z') return code - 0x20;
  if (code >= 0xE0 && code <= 0xFE && code != 0xF7) return code - 0x20;
  if (code == 0xFF) return 0x178;
  if (code >= 0x100 && code <= 0x17E && code != 0x130 && code != 0x131 && code != 0x138 && code != 0x149) {
    // Pairs: even upper, odd lower, except in 0x139-0x148 and 0x179-0x17E, where it is the other way.
    const bool shifted = (code >= 0x139 && code <= 0x148) || (code >= 0x179 && code <= 0x17E);
    const bool lower = shifted ? code % 2 == 0 : code % 2 == 1;
    return lower ? code - 1 : code;
  }
  if (code >= 0x3B1 && code <= 0x3CB) return code - 0x20;  // with the diaeresis letters
  if (code >= 0x430 && code <= 0x44F) return code - 0x20;
  if (code >= 0x450 && code <= 0x45F) return code - 0x50;
  return code;
}

std::string FoldName(const std::string& utf8) {
  std::string folded;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::uint32_t code;
    if (!DecodeUtf8(utf8, pos, code)) {
      folded += utf8[pos++];
      continue;
    }
    AppendUtf8(folded, FoldCase(code));
  }
  return folded;
}

// The length of the device name that stem opens as on Windows (CON, NUL,
// COM1, or COM and LPT with a superscript digit), 0 for none. Windows looks
// at the part before the first dot, trailing blanks ignored, so "nul.txt"
// and "nul .rtf" are NUL too.
std::size_t DeviceNameLength(const std::string& stem) {
  std::string base = stem.substr(0, stem.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  std::string upper = base;
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 0x20 : c);
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
    if (upper == device) return base.size();
  }
  if (upper.size() < 4 || (upper.compare(0, 3, "COM") != 0 && upper.compare(0, 3, "LPT") != 0)) return 0;
  const std::string number = upper.substr(3);
  // COM0 to COM9 and the superscript digits one to three (UTF-8).
  const bool isDevice = (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\xC2\xB9" ||
                        number == "\xC2\xB2" || number == "\xC2\xB3";
  return isDevice ? base.size() : 0;
}

void TrimEnd(std::string& text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '.')) text.pop_back();
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::string SafeFileStem(const std::string& utf8Title) {
  std::string stem;
  for (char c : utf8Title) {
    const unsigned char byte = static_cast<unsigned char>(c);
    stem += byte < 0x20 || byte == 0x7F || std::strchr("<>:\"/\\|?*", c) != nullptr ? '_' : c;
  }
  std::size_t first = stem.find_first_not_of(' ');
  stem = first == std::string::npos ? std::string() : stem.substr(first);
  if (stem.size() > kMaxStemBytes) {
    std::size_t cut = kMaxStemBytes;
    while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
    stem.resize(cut);
  }
  TrimEnd(stem);
  if (stem.empty()) return "Untitled";
  // The mark goes right behind the device part: "nul.txt" + "_" would
  // still open NUL.
  if (const std::size_t device = DeviceNameLength(stem)) stem.insert(device, 1, '_');
  return stem;
}

OutputFolder::OutputFolder(const std::string& path) : m_path(path) {
  if (!m_path.empty() && m_path.back() != '/' && m_path.back() != kPathSeparator) m_path += kPathSeparator;
}

std::string OutputFolder::ClaimName(const std::string& stem, std::string extension) {
  // Windows opens "q.jpg " and "q.jpg." as "q.jpg": two such names are one file.
  TrimEnd(extension);
  const std::string dotted = extension.empty() ? std::string() : "." + extension;
  std::string name = stem + dotted;
  for (int number = 2; m_taken.count(FoldName(name)) != 0; ++number)
    name = stem + " (" + std::to_string(number) + ")" + dotted;
  m_taken.insert(FoldName(name));
  return name;
}

bool OutputFolder::WriteFile(const std::string& utf8Name, const std::string& bytes, std::string& error) {
  FilePointer file(PlatformOpenOutputFile(m_path, utf8Name));
  if (!file) {
    error = "cannot create " + m_path + utf8Name;
    return false;
  }
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  written = std::fclose(file.release()) == 0 && written;
  if (!written) Discard(utf8Name, "cannot write " + m_path + utf8Name, error);
  return written;
}

bool OutputFolder::CopyFile(const std::string& sourcePath, const std::string& utf8Name, std::string& error) {
  FilePointer source(std::fopen(sourcePath.c_str(), "rb"));
  if (!source) {
    error = "cannot read " + sourcePath;
    return false;
  }
  FilePointer target(PlatformOpenOutputFile(m_path, utf8Name));
  if (!target) {
    error = "cannot create " + m_path + utf8Name;
    return false;
  }
  char buffer[64 * 1024];
  std::size_t count;
  std::string failure;
  while (failure.empty() && (count = std::fread(buffer, 1, sizeof buffer, source.get())) > 0) {
    if (std::fwrite(buffer, 1, count, target.get()) != count) failure = "cannot write " + m_path + utf8Name;
  }
  if (failure.empty() && std::ferror(source.get())) failure = "cannot read " + sourcePath;
  if (std::fclose(target.release()) != 0 && failure.empty()) failure = "cannot write " + m_path + utf8Name;
  if (failure.empty()) return true;
  Discard(utf8Name, failure, error);
  return false;
}

// A file written in part is no export of its record: it goes, and the
// reason says so when it cannot.
void OutputFolder::Discard(const std::string& utf8Name, const std::string& reason, std::string& error) {
  error = reason;
  if (!PlatformRemoveOutputFile(m_path, utf8Name)) error += " (the part written stays as " + m_path + utf8Name + ")";
}
