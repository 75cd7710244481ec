// The values each kind exchanges with its editor through the manager
// operations GetFocusedRecord, ChangeFocusedRecord and AppendRecord. Texts
// longer than 254 characters are cut when they are copied into a record.
#ifndef QUILLMATE_MANAGERS_RECORDVALUES_H
#define QUILLMATE_MANAGERS_RECORDVALUES_H

#include <string>

#include "Records/RecordTime.h"

// Text, audio and video notes. attachment: on Get the text note's full path
// (folder + stored name; empty when the stored name is not a bare file name)
// or the audio/video note's stored file name; on Add the attachment's file
// name (a folder in front is dropped); ignored on Change, where the stored
// name stays. noteType: 1 urgent, 0 normal.
struct NoteValues {
  std::string title;
  std::string attachment;
  int noteType = 0;
};

// Photos. picturePath is filled by Get (album folder + stored name, empty
// when that name is not a bare file name) and ignored by Change; photos are
// added only through AddPhoto.
struct PhotoValues {
  std::string title;
  std::string comment;
  std::string picturePath;
};

// Time notifications. type: 1 urgent, 0 normal.
struct TimeNotifValues {
  std::string title;
  std::string text;
  RecordTime time{};
  int type = 0;
};

// E-mail resources: the ten text fields after the date, in record order.
struct EmailValues {
  std::string name;
  std::string company;
  std::string address;
  std::string city;
  std::string zip;
  std::string state;
  std::string phone;
  std::string nick;
  std::string comment;
  std::string email;
};

// Internet resources. resourceType: 0 Personal, 1 Bussines, 2 Funny, 3 News,
// 4 Shopping, 5 Others.
struct InternetValues {
  std::string title;
  std::string address;
  int resourceType = 0;
};

// Fast texts: the title and the snippet, which lives in the attachment file.
struct FastTextValues {
  std::string title;
  std::string text;
};

#endif  // QUILLMATE_MANAGERS_RECORDVALUES_H
