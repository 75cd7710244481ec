// Value conversions per kind. Stored attachment names are handed out only as
// bare file names (joined to the kind's folder where the editor expects a
// path); anything else counts as a missing attachment.
#include "Managers/RecordAccessors.h"

#include <string>

#include "Records/AttachmentName.h"
#include "Records/DataFolders.h"
#include "Records/RecordText.h"

namespace {

// "" when the stored name is not a bare file name.
std::string SafeStoredName(const char* field) {
  std::string name = RecordTextOf(field);
  std::string ignored;
  return AttachmentPath(std::string(), name.c_str(), ignored) ? name : std::string();
}

using EmailField = char (DatabaseDataEmailRes::*)[255];
using EmailValue = std::string EmailValues::*;
const struct {
  EmailField field;
  EmailValue value;
} kEmailFields[] = {
    {&DatabaseDataEmailRes::name, &EmailValues::name},
    {&DatabaseDataEmailRes::company, &EmailValues::company},
    {&DatabaseDataEmailRes::address, &EmailValues::address},
    {&DatabaseDataEmailRes::city, &EmailValues::city},
    {&DatabaseDataEmailRes::zip, &EmailValues::zip},
    {&DatabaseDataEmailRes::state, &EmailValues::state},
    {&DatabaseDataEmailRes::phone, &EmailValues::phone},
    {&DatabaseDataEmailRes::nick, &EmailValues::nick},
    {&DatabaseDataEmailRes::comment, &EmailValues::comment},
    {&DatabaseDataEmailRes::email, &EmailValues::email},
};

}  // namespace

template <RecordKind K>
void ReadValues(const DatabaseDataNote<K>& record, NoteValues& values) {
  values.title = RecordTextOf(record.title);
  values.noteType = record.noteType;
  std::string name = RecordTextOf(record.fileName);
  if (K == RecordKind::TextNote) {
    // The text note editor opens the document itself: it gets the full path.
    AttachmentPath(gTextNoteFolder, name.c_str(), values.attachment);
  } else {
    values.attachment = SafeStoredName(record.fileName);
  }
}

template <RecordKind K>
void WriteValues(const NoteValues& values, DatabaseDataNote<K>& record, bool adding) {
  CopyRecordText(record.title, values.title.c_str());
  record.noteType = values.noteType;
  if (adding) CopyRecordText(record.fileName, BareFileName(values.attachment).c_str());
}

template void ReadValues(const DatabaseDataTextNote&, NoteValues&);
template void ReadValues(const DatabaseDataAudioNote&, NoteValues&);
template void ReadValues(const DatabaseDataVideoNote&, NoteValues&);
template void WriteValues(const NoteValues&, DatabaseDataTextNote&, bool);
template void WriteValues(const NoteValues&, DatabaseDataAudioNote&, bool);
template void WriteValues(const NoteValues&, DatabaseDataVideoNote&, bool);

void ReadValues(const DatabaseDataPhotoAlbum& record, PhotoValues& values) {
  values.title = RecordTextOf(record.title);
  values.comment = RecordTextOf(record.comment);
  AttachmentPath(gPhotoFolder, RecordTextOf(record.fileName).c_str(), values.picturePath);
}

void WriteValues(const PhotoValues& values, DatabaseDataPhotoAlbum& record, bool) {
  CopyRecordText(record.title, values.title.c_str());
  CopyRecordText(record.comment, values.comment.c_str());
}

void ReadValues(const DatabaseDataTimeNotif& record, TimeNotifValues& values) {
  values.title = RecordTextOf(record.title);
  values.text = RecordTextOf(record.text);
  values.time = record.time;
  values.type = record.type;
}

void WriteValues(const TimeNotifValues& values, DatabaseDataTimeNotif& record, bool) {
  CopyRecordText(record.title, values.title.c_str());
  CopyRecordText(record.text, values.text.c_str());
  record.time = values.time;
  record.type = values.type;
}

void ReadValues(const DatabaseDataEmailRes& record, EmailValues& values) {
  for (const auto& pair : kEmailFields) values.*pair.value = RecordTextOf(record.*pair.field);
}

void WriteValues(const EmailValues& values, DatabaseDataEmailRes& record, bool) {
  for (const auto& pair : kEmailFields) {
    CopyRecordText(record.*pair.field, (values.*pair.value).c_str());
  }
}

void ReadValues(const DatabaseDataInternetRes& record, InternetValues& values) {
  values.title = RecordTextOf(record.title);
  values.address = RecordTextOf(record.address);
  values.resourceType = record.resourceType;
}

void WriteValues(const InternetValues& values, DatabaseDataInternetRes& record, bool) {
  CopyRecordText(record.title, values.title.c_str());
  CopyRecordText(record.address, values.address.c_str());
  record.resourceType = values.resourceType;
}
