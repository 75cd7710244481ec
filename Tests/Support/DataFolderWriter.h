// A data folder written as the program would leave it, for tests and
// benchmarks of whatever reads a whole folder: records of any kind added
// through the real stores (one store open per kind until Close), and
// attachment files in the kinds' folders.
#ifndef QUILLMATE_TESTS_SUPPORT_DATAFOLDERWRITER_H
#define QUILLMATE_TESTS_SUPPORT_DATAFOLDERWRITER_H

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Records/RecordStore.h"

namespace qmtest {

using FieldTexts = std::vector<std::pair<std::string, std::string>>;  // field name, bytes as stored

class DataFolderWriter {
 public:
  // dataFolder ends with the path separator; it and the attachment folders
  // are created when missing.
  explicit DataFolderWriter(const std::string& dataFolder);
  ~DataFolderWriter() { Close(); }
  DataFolderWriter(const DataFolderWriter&) = delete;
  DataFolderWriter& operator=(const DataFolderWriter&) = delete;

  // Adds a record whose named text fields hold the given bytes (the date is
  // a fixed time stamp unless given); returns its object address.
  std::uint32_t Add(RecordKind kind, const FieldTexts& texts);
  // Writes (replaces) an attachment file of the kind; returns its full path.
  std::string WriteAttachment(RecordKind kind, const std::string& name, const std::string& bytes);
  // The store file of a kind.
  std::string StorePath(RecordKind kind) const;
  // Closes every store opened so far.
  void Close();

 private:
  std::string m_folder;
  std::unique_ptr<RecordStore> m_stores[8];
};

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_DATAFOLDERWRITER_H
