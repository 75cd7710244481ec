// The table of the eight kinds. Row texts are the only per-kind code: a small
// function per record layout that reads the fields the columns show.
#include "Managers/KindDescription.h"

#include <cstdio>
#include <cstring>

#include "Records/DatabaseData.h"
#include "Records/ResourceType.h"

namespace {

template <class Record>
const Record& As(const unsigned char* bytes) {
  return *reinterpret_cast<const Record*>(bytes);
}

template <class Record>
void NoteRowTexts(const unsigned char* bytes, RowTexts& texts) {
  const Record& note = As<Record>(bytes);
  texts.Add(note.title);
  texts.Add(UrgencyText(note.noteType));
}

void PhotoRowTexts(const unsigned char* bytes, RowTexts& texts) {
  const auto& photo = As<DatabaseDataPhotoAlbum>(bytes);
  texts.Add(photo.title);
  texts.Add(photo.comment);
}

void TimeNotifRowTexts(const unsigned char* bytes, RowTexts& texts) {
  const auto& notification = As<DatabaseDataTimeNotif>(bytes);
  const RecordTime& time = notification.time;
  char when[64];
  std::snprintf(when, sizeof when, "%02d:%02d:%02d %02d/%02d/%d", time.hour, time.minute, time.second,
                time.month, time.day, time.year);
  texts.Add(notification.title);
  texts.Add(when);
  texts.Add(UrgencyText(notification.type));
}

void EmailRowTexts(const unsigned char* bytes, RowTexts& texts) {
  const auto& email = As<DatabaseDataEmailRes>(bytes);
  texts.Add(email.name);
  texts.Add(email.email);
  texts.Add(email.comment);
}

void InternetRowTexts(const unsigned char* bytes, RowTexts& texts) {
  const auto& resource = As<DatabaseDataInternetRes>(bytes);
  texts.Add(resource.title);
  texts.Add(resource.address);
  texts.Add(ResourceTypeText(resource.resourceType));
}

void FastTextRowTexts(const unsigned char* bytes, RowTexts& texts) {
  texts.Add(As<DatabaseDataFastText>(bytes).title);
}

constexpr ColumnDescription kDateColumn = {"Date", 120, ColumnOrder::Date};

const ColumnDescription kTextNoteColumns[] = {kDateColumn, {"Text Note Title", 180}, {"Note Type", 120}};
const ColumnDescription kAudioNoteColumns[] = {kDateColumn, {"Audio Note Title", 180}, {"Note Type", 120}};
const ColumnDescription kVideoNoteColumns[] = {kDateColumn, {"Video Note Title", 180}, {"Note Type", 120}};
const ColumnDescription kPhotoColumns[] = {kDateColumn, {"Photo Title", 180}, {"Photo Comment", 180}};
const ColumnDescription kTimeNotifColumns[] = {
    kDateColumn, {"Time Notification Title", 180}, {"Notification Time", 120, ColumnOrder::Date}, {"Type", 120}};
const ColumnDescription kEmailColumns[] = {
    kDateColumn, {"Full Name", 180}, {"Email", 180}, {"Comment", 120}};
const ColumnDescription kInternetColumns[] = {
    kDateColumn, {"Internet Resource Title", 180}, {"Internet Address", 180}, {"Resource Type", 120}};
const ColumnDescription kFastTextColumns[] = {kDateColumn, {"Fast Text Title", 180}};

constexpr ToolbarButtonDescription kSeparator = {0, 0, nullptr};

const ToolbarButtonDescription kTextNoteButtons[] = {
    {6, 202, "Edit"}, kSeparator, {8, 204, "Delete"}, kSeparator, {13, 205, "Delete All"}};
const ToolbarButtonDescription kAudioNoteButtons[] = {
    {6, 211, "Edit/Play"}, kSeparator, {8, 212, "Delete"}, kSeparator, {13, 213, "Delete All"}};
const ToolbarButtonDescription kVideoNoteButtons[] = {
    {6, 221, "Edit/Play"}, kSeparator, {8, 222, "Delete"}, kSeparator, {13, 223, "Delete All"}};
const ToolbarButtonDescription kPhotoButtons[] = {
    {6, 232, "Edit"},        kSeparator, {8, 234, "Delete"},      kSeparator,
    {13, 235, "Delete All"}, kSeparator, {12, 230, "Photo Album"}};
const ToolbarButtonDescription kTimeNotifButtons[] = {
    {6, 241, "Edit"}, kSeparator, {8, 242, "Delete"}, kSeparator, {13, 243, "Delete All"}};
// The e-mail toolbar has no separator between its two delete buttons.
const ToolbarButtonDescription kEmailButtons[] = {
    {6, 251, "Edit"}, {9, 256, "Send Mail"}, kSeparator, {8, 253, "Delete"}, {13, 254, "Delete All"}};
const ToolbarButtonDescription kInternetButtons[] = {{6, 261, "Edit"}, {9, 266, "Browse"},
                                                     kSeparator,       {8, 263, "Delete"},
                                                     kSeparator,       {13, 264, "Delete All"}};
const ToolbarButtonDescription kFastTextButtons[] = {
    {6, 271, "Edit"}, kSeparator, {8, 273, "Delete"}, kSeparator, {13, 274, "Delete All"}};

constexpr ShowProgressSteps kUsualProgress = {20, 30, 50};
constexpr ShowProgressSteps kPhotoProgress = {20, 30, 40};
constexpr ShowProgressSteps kFastTextProgress = {0, 0, 50};

template <class T, int N>
constexpr int CountOf(const T (&)[N]) {
  return N;
}

template <int N>
constexpr int ColumnCount(const ColumnDescription (&)[N]) {
  static_assert(N <= RowTexts::kMaxTexts, "a row holds one text per column, without allocating");
  return N;
}

#define QM_KIND(kind, name, columns, buttons, question, words, progress, rowTexts)                         \
  KindDescription {                                                                                          \
    RecordKind::kind, name, columns, ColumnCount(columns), buttons, CountOf(buttons), question, words, progress, \
        rowTexts                                                                                             \
  }

constexpr const char* kItsFile = " and its file";
constexpr const char* kTheirFiles = " and their files";
constexpr DeleteWords kTextNoteWords = {"text note", "text notes", kItsFile, kTheirFiles};
constexpr DeleteWords kAudioNoteWords = {"audio note", "audio notes", kItsFile, kTheirFiles};
constexpr DeleteWords kVideoNoteWords = {"video note", "video notes", kItsFile, kTheirFiles};
constexpr DeleteWords kPhotoWords = {"photo", "photos", " and the album's copy", " and the album's copies"};
constexpr DeleteWords kTimeNotifWords = {"time notification", "time notifications", "", ""};
constexpr DeleteWords kEmailWords = {"e-mail address", "e-mail addresses", "", ""};
constexpr DeleteWords kInternetWords = {"bookmark", "bookmarks", "", ""};
constexpr DeleteWords kFastTextWords = {"fast text", "fast texts", kItsFile, kTheirFiles};

const KindDescription kKinds[kRecordKindCount] = {
    QM_KIND(TextNote, "text note", kTextNoteColumns, kTextNoteButtons,
            "Would you like to delete All Text Notes from Your Diary?", kTextNoteWords, kUsualProgress,
            NoteRowTexts<DatabaseDataTextNote>),
    QM_KIND(AudioNote, "audio note", kAudioNoteColumns, kAudioNoteButtons,
            "Would you like to delete All Audio Notes from Your Diary?", kAudioNoteWords, kUsualProgress,
            NoteRowTexts<DatabaseDataAudioNote>),
    QM_KIND(VideoNote, "video note", kVideoNoteColumns, kVideoNoteButtons,
            "Would you like to delete All Video Notes from Your Diary?", kVideoNoteWords, kUsualProgress,
            NoteRowTexts<DatabaseDataVideoNote>),
    QM_KIND(PhotoAlbum, "photo", kPhotoColumns, kPhotoButtons, "Would you like to delete All Photos from Your Album?",
            kPhotoWords, kPhotoProgress, PhotoRowTexts),
    QM_KIND(TimeNotif, "time notification", kTimeNotifColumns, kTimeNotifButtons,
            "Would you like to delete All Time Notifications from Your Diary?", kTimeNotifWords,
            kUsualProgress, TimeNotifRowTexts),
    QM_KIND(EmailRes, "email resource", kEmailColumns, kEmailButtons,
            "Would you like to delete All E-mail Addresses from Your Diary?", kEmailWords, kUsualProgress,
            EmailRowTexts),
    QM_KIND(InternetRes, "internet resource", kInternetColumns, kInternetButtons,
            "Would you like to delete All Internet Addreses from Your Diary?", kInternetWords, kUsualProgress,
            InternetRowTexts),
    QM_KIND(FastText, "fast text", kFastTextColumns, kFastTextButtons,
            "Would you like to delete All Fast Text from Your Diary?", kFastTextWords, kFastTextProgress,
            FastTextRowTexts),
};

#undef QM_KIND

}  // namespace

const KindDescription& KindDescriptionOf(RecordKind kind) {
  return kKinds[static_cast<int>(kind)];
}

void RowTexts::Add(const char* text) {
  if (m_count == kMaxTexts) return;
  char* into = m_texts[m_count++];
  std::size_t length = 0;
  while (length < kMaxLength && text[length] != '\0') ++length;
  std::memcpy(into, text, length);
  into[length] = '\0';
}

std::string DeleteSelectedQuestion(RecordKind kind, int count) {
  const DeleteWords& words = KindDescriptionOf(kind).deleteWords;
  return "Delete " + std::to_string(count) + " " + (count == 1 ? words.one : words.many) +
         (count == 1 ? words.filesOne : words.filesMany) + "?";
}

const char* UrgencyText(int type) {
  return type == 1 ? "Urgent Note" : "Normal Note";
}

const char* ResourceTypeText(int type) {
  return ResourceTypeName(type);
}
