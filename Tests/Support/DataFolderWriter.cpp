#include "Support/DataFolderWriter.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "Records/DatabaseObject.h"
#include "Records/RecordText.h"

namespace qmtest {

DataFolderWriter::DataFolderWriter(const std::string& dataFolder) : m_folder(dataFolder) {
  std::filesystem::create_directories(m_folder);
  for (int index = 0; index < 8; ++index) {
    const RecordKindInfo& info = RecordKindInfoAt(index);
    if (info.attachmentFolderName) std::filesystem::create_directories(m_folder + info.attachmentFolderName);
  }
}

std::string DataFolderWriter::StorePath(RecordKind kind) const {
  return m_folder + RecordKindInfoOf(kind).storeName + ".qmt";
}

std::uint32_t DataFolderWriter::Add(RecordKind kind, const FieldTexts& texts) {
  std::unique_ptr<RecordStore>& store = m_stores[static_cast<int>(kind)];
  if (!store) {
    store = MakeRecordStore(kind);
    if (OpenOrCreateStoreFile(*store, StorePath(kind)) != 0) return 0;
  }
  const RecordKindInfo& info = store->KindInfo();
  unsigned char* record = store->RecordBytes();
  std::memset(record, 0, info.recordSize);
  CopyRecordText(reinterpret_cast<char*>(record), "09:05:03 12/02/2003");
  for (const auto& [name, value] : texts) {
    const RecordField* field = FindRecordField(info, name);
    if (field != nullptr && field->type == RecordFieldType::Text)
      CopyRecordText(reinterpret_cast<char*>(record + field->offset), value.c_str());
  }
  return store->AddRecord();
}

std::string DataFolderWriter::WriteAttachment(RecordKind kind, const std::string& name, const std::string& bytes) {
  const std::string path = m_folder + RecordKindInfoOf(kind).attachmentFolderName + "/" + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  return path;
}

void DataFolderWriter::Close() {
  for (std::unique_ptr<RecordStore>& store : m_stores) {
    if (store) store->Close();
    store.reset();
  }
}

}  // namespace qmtest
