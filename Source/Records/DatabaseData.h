// DatabaseData<Kind>: the eight fixed-size records. A record in memory and the
// object stored in its database block are the same bytes, so every layout is
// packed and every size and offset is checked here at compile time; the
// offsets are the file format. Each record ends with its own-address slot:
// 0 on disk, the object address in memory once the store has read or
// written it.
#ifndef QUILLMATE_RECORDS_DATABASEDATA_H
#define QUILLMATE_RECORDS_DATABASEDATA_H

#include <cstddef>
#include <cstdint>

#include "Records/RecordKind.h"
#include "Records/RecordTime.h"

// Text fields are 255-byte arrays written through CopyRecordText (RecordText.h).
// Integers are read and written as values (never bound to references): they
// are unaligned inside the packed records.
#pragma pack(push, 1)

// Text, audio and video notes share one layout; the kind parameter keeps
// them distinct types so each store knows its own file.
template <RecordKind K>
struct DatabaseDataNote {
  static constexpr RecordKind kKind = K;
  char date[255];
  char title[255];
  std::int32_t noteType;  // 1 urgent, anything else normal
  char fileName[255];     // bare name in the kind's attachment folder
  std::uint32_t ownAddress;
};

using DatabaseDataTextNote = DatabaseDataNote<RecordKind::TextNote>;
using DatabaseDataAudioNote = DatabaseDataNote<RecordKind::AudioNote>;
using DatabaseDataVideoNote = DatabaseDataNote<RecordKind::VideoNote>;

struct DatabaseDataPhotoAlbum {
  static constexpr RecordKind kKind = RecordKind::PhotoAlbum;
  char date[255];
  char title[255];
  char comment[255];
  char fileName[255];
  std::uint32_t ownAddress;
};

struct DatabaseDataTimeNotif {
  static constexpr RecordKind kKind = RecordKind::TimeNotif;
  char date[255];
  char title[255];
  char text[255];
  std::int32_t type;  // 1 urgent, anything else normal
  char pad[1];
  RecordTime time;  // local time at which the notification is due
  std::uint32_t ownAddress;
};

struct DatabaseDataEmailRes {
  static constexpr RecordKind kKind = RecordKind::EmailRes;
  char date[255];
  char name[255];
  char company[255];
  char address[255];
  char city[255];
  char zip[255];
  char state[255];
  char phone[255];
  char nick[255];
  char comment[255];
  char email[255];
  std::uint32_t ownAddress;
};

struct DatabaseDataInternetRes {
  static constexpr RecordKind kKind = RecordKind::InternetRes;
  char date[255];
  char title[255];
  char address[255];
  char pad[3];
  std::int32_t resourceType;  // 0 Personal .. 4 Shopping, anything else Others
  std::uint32_t ownAddress;
};

struct DatabaseDataFastText {
  static constexpr RecordKind kKind = RecordKind::FastText;
  char date[255];
  char title[255];
  char fileName[255];
  std::uint32_t ownAddress;
};

#pragma pack(pop)

static_assert(sizeof(DatabaseDataTextNote) == 773 && sizeof(DatabaseDataAudioNote) == 773 &&
                  sizeof(DatabaseDataVideoNote) == 773,
              "note records are 773 bytes");
static_assert(offsetof(DatabaseDataTextNote, title) == 255 &&
                  offsetof(DatabaseDataTextNote, noteType) == 510 &&
                  offsetof(DatabaseDataTextNote, fileName) == 514 &&
                  offsetof(DatabaseDataTextNote, ownAddress) == 769,
              "note layout");

static_assert(sizeof(DatabaseDataPhotoAlbum) == 1024, "photo records are 1024 bytes");
static_assert(offsetof(DatabaseDataPhotoAlbum, title) == 255 &&
                  offsetof(DatabaseDataPhotoAlbum, comment) == 510 &&
                  offsetof(DatabaseDataPhotoAlbum, fileName) == 765 &&
                  offsetof(DatabaseDataPhotoAlbum, ownAddress) == 1020,
              "photo layout");

static_assert(sizeof(DatabaseDataTimeNotif) == 790, "time notification records are 790 bytes");
static_assert(offsetof(DatabaseDataTimeNotif, title) == 255 && offsetof(DatabaseDataTimeNotif, text) == 510 &&
                  offsetof(DatabaseDataTimeNotif, type) == 765 &&
                  offsetof(DatabaseDataTimeNotif, pad) == 769 &&
                  offsetof(DatabaseDataTimeNotif, time) == 770 &&
                  offsetof(DatabaseDataTimeNotif, ownAddress) == 786,
              "time notification layout");

static_assert(sizeof(DatabaseDataEmailRes) == 2809, "e-mail records are 2809 bytes");
static_assert(
    offsetof(DatabaseDataEmailRes, name) == 255 && offsetof(DatabaseDataEmailRes, company) == 510 &&
        offsetof(DatabaseDataEmailRes, address) == 765 && offsetof(DatabaseDataEmailRes, city) == 1020 &&
        offsetof(DatabaseDataEmailRes, zip) == 1275 && offsetof(DatabaseDataEmailRes, state) == 1530 &&
        offsetof(DatabaseDataEmailRes, phone) == 1785 && offsetof(DatabaseDataEmailRes, nick) == 2040 &&
        offsetof(DatabaseDataEmailRes, comment) == 2295 && offsetof(DatabaseDataEmailRes, email) == 2550 &&
        offsetof(DatabaseDataEmailRes, ownAddress) == 2805,
    "e-mail layout");

static_assert(sizeof(DatabaseDataInternetRes) == 776, "internet records are 776 bytes");
static_assert(offsetof(DatabaseDataInternetRes, title) == 255 &&
                  offsetof(DatabaseDataInternetRes, address) == 510 &&
                  offsetof(DatabaseDataInternetRes, pad) == 765 &&
                  offsetof(DatabaseDataInternetRes, resourceType) == 768 &&
                  offsetof(DatabaseDataInternetRes, ownAddress) == 772,
              "internet layout");

static_assert(sizeof(DatabaseDataFastText) == 769, "fast text records are 769 bytes");
static_assert(offsetof(DatabaseDataFastText, title) == 255 &&
                  offsetof(DatabaseDataFastText, fileName) == 510 &&
                  offsetof(DatabaseDataFastText, ownAddress) == 765,
              "fast text layout");

#endif  // QUILLMATE_RECORDS_DATABASEDATA_H
