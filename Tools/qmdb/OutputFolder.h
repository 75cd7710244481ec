// One folder that export writes into: names made from record titles, safe on
// every file system, numbered on collision, and the files written there.
#ifndef QUILLMATE_TOOLS_QMDB_OUTPUTFOLDER_H
#define QUILLMATE_TOOLS_QMDB_OUTPUTFOLDER_H

#include <set>
#include <string>

// A file name stem for a title: characters that Windows forbids in names
// (<>:"/\|?* and control characters) become '_', leading and trailing spaces
// and trailing dots go, a device name (CON, NUL, COM0 to COM9, COM and LPT
// with a superscript 1 to 3, also before a dot: "nul.txt") gets a '_' right
// behind it ("nul_.txt"), at most 100 bytes of UTF-8 are kept; an empty result is "Untitled".
std::string SafeFileStem(const std::string& utf8Title);

class OutputFolder {
 public:
  // path: an existing folder; a separator is added when missing.
  explicit OutputFolder(const std::string& path);

  const std::string& Path() const { return m_path; }

  // "stem.extension", or "stem (2).extension", "stem (3)..." when that name
  // was handed out before; names are compared as Windows compares them,
  // letter case ignored, and trailing blanks and dots of the extension
  // dropped as Windows drops them. An empty extension gives a name without
  // a dot.
  std::string ClaimName(const std::string& stem, std::string extension);

  // Writes a new file of that (claimed) name; false with a reason, and then
  // nothing of it is left behind.
  bool WriteFile(const std::string& utf8Name, const std::string& bytes, std::string& error);
  // Copies the file at sourcePath (native) into a new file of that name.
  bool CopyFile(const std::string& sourcePath, const std::string& utf8Name, std::string& error);

 private:
  void Discard(const std::string& utf8Name, const std::string& reason, std::string& error);

  std::string m_path;
  std::set<std::string> m_taken;  // folded names
};

#endif  // QUILLMATE_TOOLS_QMDB_OUTPUTFOLDER_H
