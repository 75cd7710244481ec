// The eight record kinds and the one table that says everything that differs
// between them: store name, record size, the qmdb name, the attachment folder
// and naming, and the list of fields with their offsets and types. Stores,
// managers and tools look a kind up here instead of repeating per-kind code.
#ifndef QUILLMATE_RECORDS_RECORDKIND_H
#define QUILLMATE_RECORDS_RECORDKIND_H

#include <cstddef>
#include <cstdint>
#include <string>

// The numbers order the manager list, the per-kind menus and the commands.
enum class RecordKind : int {
  TextNote = 0,
  AudioNote = 1,
  VideoNote = 2,
  PhotoAlbum = 3,
  TimeNotif = 4,
  EmailRes = 5,
  InternetRes = 6,
  FastText = 7
};
constexpr int kRecordKindCount = 8;

enum class RecordFieldType {
  Text,   // 255-byte single-byte text, at most 254 characters
  Int32,  // 32-bit little-endian integer
  Time    // 16-byte RecordTime
};

// Bytes a field of this type occupies in a record.
constexpr std::uint32_t RecordFieldSize(RecordFieldType type) {
  return type == RecordFieldType::Text ? 255u : type == RecordFieldType::Int32 ? 4u : 16u;
}

struct RecordField {
  const char* name;  // as qmdb reads and writes it
  std::uint32_t offset;
  RecordFieldType type;
};

struct RecordKindInfo {
  RecordKind kind;
  const char* storeName;  // the database file is data folder + storeName + ".qmt"
  std::uint32_t recordSize;
  const char* toolName;  // qmdb's --kind value
  // Attachment folder and naming; folderName null for kinds without
  // attachments, extension null where it comes from the source file (photos).
  const char* attachmentFolderName;
  std::string* attachmentFolder;  // the shared path string (DataFolders.h), or null
  const char* attachmentPrefix;
  const char* attachmentExtension;
  const RecordField* fields;  // every field except pads and the own-address slot
  std::size_t fieldCount;
};

// Row of a kind; kinds are always valid enumerators here.
const RecordKindInfo& RecordKindInfoOf(RecordKind kind);
const RecordKindInfo& RecordKindInfoAt(int index);  // index 0..7

// Lookups for tools; null when nothing matches.
const RecordKindInfo* FindRecordKindByToolName(const std::string& toolName);
// Matches a path whose file name is a store name + ".qmt" (letter case ignored).
const RecordKindInfo* FindRecordKindByFileName(const std::string& path);
// The field of a kind with that name, or null.
const RecordField* FindRecordField(const RecordKindInfo& info, const std::string& name);

#endif  // QUILLMATE_RECORDS_RECORDKIND_H
