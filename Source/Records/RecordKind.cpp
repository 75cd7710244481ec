// The per-kind table. Field offsets come from the layouts themselves, so the
// table and the structures cannot disagree.
#include "Records/RecordKind.h"

#include <cctype>

#include "Records/DataFolders.h"
#include "Records/DatabaseData.h"

namespace {

#define QM_FIELD(Record, member, name, type)                                          \
  RecordField {                                                                       \
    name, static_cast<std::uint32_t>(offsetof(Record, member)), RecordFieldType::type \
  }

// The three note kinds share their layout and so their fields.
const RecordField kNoteFields[] = {
    QM_FIELD(DatabaseDataTextNote, date, "date", Text),
    QM_FIELD(DatabaseDataTextNote, title, "title", Text),
    QM_FIELD(DatabaseDataTextNote, noteType, "note_type", Int32),
    QM_FIELD(DatabaseDataTextNote, fileName, "file_name", Text),
};

const RecordField kPhotoFields[] = {
    QM_FIELD(DatabaseDataPhotoAlbum, date, "date", Text),
    QM_FIELD(DatabaseDataPhotoAlbum, title, "title", Text),
    QM_FIELD(DatabaseDataPhotoAlbum, comment, "comment", Text),
    QM_FIELD(DatabaseDataPhotoAlbum, fileName, "file_name", Text),
};

const RecordField kTimeNotifFields[] = {
    QM_FIELD(DatabaseDataTimeNotif, date, "date", Text),
    QM_FIELD(DatabaseDataTimeNotif, title, "title", Text),
    QM_FIELD(DatabaseDataTimeNotif, text, "text", Text),
    QM_FIELD(DatabaseDataTimeNotif, type, "type", Int32),
    QM_FIELD(DatabaseDataTimeNotif, time, "time", Time),
};

const RecordField kEmailFields[] = {
    QM_FIELD(DatabaseDataEmailRes, date, "date", Text),
    QM_FIELD(DatabaseDataEmailRes, name, "name", Text),
    QM_FIELD(DatabaseDataEmailRes, company, "company", Text),
    QM_FIELD(DatabaseDataEmailRes, address, "address", Text),
    QM_FIELD(DatabaseDataEmailRes, city, "city", Text),
    QM_FIELD(DatabaseDataEmailRes, zip, "zip", Text),
    QM_FIELD(DatabaseDataEmailRes, state, "state", Text),
    QM_FIELD(DatabaseDataEmailRes, phone, "phone", Text),
    QM_FIELD(DatabaseDataEmailRes, nick, "nick", Text),
    QM_FIELD(DatabaseDataEmailRes, comment, "comment", Text),
    QM_FIELD(DatabaseDataEmailRes, email, "email", Text),
};

const RecordField kInternetFields[] = {
    QM_FIELD(DatabaseDataInternetRes, date, "date", Text),
    QM_FIELD(DatabaseDataInternetRes, title, "title", Text),
    QM_FIELD(DatabaseDataInternetRes, address, "address", Text),
    QM_FIELD(DatabaseDataInternetRes, resourceType, "resource_type", Int32),
};

const RecordField kFastTextFields[] = {
    QM_FIELD(DatabaseDataFastText, date, "date", Text),
    QM_FIELD(DatabaseDataFastText, title, "title", Text),
    QM_FIELD(DatabaseDataFastText, fileName, "file_name", Text),
};

#undef QM_FIELD

template <std::size_t N>
constexpr std::size_t CountOf(const RecordField (&)[N]) {
  return N;
}

const RecordKindInfo kKinds[kRecordKindCount] = {
    {RecordKind::TextNote, "TextNotes", sizeof(DatabaseDataTextNote), "textnote", "TextNotes",
     &gTextNoteFolder, "TextNote", "doc", kNoteFields, CountOf(kNoteFields)},
    {RecordKind::AudioNote, "AudioNotes", sizeof(DatabaseDataAudioNote), "audionote", "AudioNotes",
     &gAudioNoteFolder, "AudioNote", "wav", kNoteFields, CountOf(kNoteFields)},
    {RecordKind::VideoNote, "VideoNotes", sizeof(DatabaseDataVideoNote), "videonote", "VideoNotes",
     &gVideoNoteFolder, "VideoNote", "avi", kNoteFields, CountOf(kNoteFields)},
    {RecordKind::PhotoAlbum, "PhotoAlbum", sizeof(DatabaseDataPhotoAlbum), "photo", "PhotoAlbum",
     &gPhotoFolder, "Photo", nullptr, kPhotoFields, CountOf(kPhotoFields)},
    {RecordKind::TimeNotif, "TimeNotif", sizeof(DatabaseDataTimeNotif), "timenotif", nullptr, nullptr,
     nullptr, nullptr, kTimeNotifFields, CountOf(kTimeNotifFields)},
    {RecordKind::EmailRes, "EmailRes", sizeof(DatabaseDataEmailRes), "email", nullptr, nullptr, nullptr,
     nullptr, kEmailFields, CountOf(kEmailFields)},
    {RecordKind::InternetRes, "InternetRes", sizeof(DatabaseDataInternetRes), "internet", nullptr, nullptr,
     nullptr, nullptr, kInternetFields, CountOf(kInternetFields)},
    {RecordKind::FastText, "FastText", sizeof(DatabaseDataFastText), "fasttext", "FastText", &gFastTextFolder,
     "FastText", "fst", kFastTextFields, CountOf(kFastTextFields)},
};

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

const RecordKindInfo& RecordKindInfoOf(RecordKind kind) {
  return kKinds[static_cast<int>(kind)];
}

const RecordKindInfo& RecordKindInfoAt(int index) {
  return kKinds[index];
}

const RecordKindInfo* FindRecordKindByToolName(const std::string& toolName) {
  for (const RecordKindInfo& info : kKinds) {
    if (toolName == info.toolName) return &info;
  }
  return nullptr;
}

const RecordKindInfo* FindRecordKindByFileName(const std::string& path) {
  std::string::size_type slash = path.find_last_of("/\\");
  std::string fileName = slash == std::string::npos ? path : path.substr(slash + 1);
  for (const RecordKindInfo& info : kKinds) {
    if (EqualIgnoringCase(fileName, std::string(info.storeName) + ".qmt")) return &info;
  }
  return nullptr;
}

const RecordField* FindRecordField(const RecordKindInfo& info, const std::string& name) {
  for (std::size_t i = 0; i < info.fieldCount; ++i) {
    if (name == info.fields[i].name) return &info.fields[i];
  }
  return nullptr;
}
