// What the record list, the edit toolbar and the progress bar show for each
// kind: the data that makes the one manager implementation serve all eight.
#ifndef QUILLMATE_MANAGERS_KINDDESCRIPTION_H
#define QUILLMATE_MANAGERS_KINDDESCRIPTION_H

#include <cstddef>
#include <string>

#include "Records/RecordKind.h"

// How a column's texts compare when the list is sorted by it.
enum class ColumnOrder {
  Text,  // case-insensitively
  Date   // as the time a record date text names
};

struct ColumnDescription {
  const char* title;
  int width;  // pixels, left-aligned
  ColumnOrder order = ColumnOrder::Text;
};

// A plain button, or a separator when label is null (no image, no command).
struct ToolbarButtonDescription {
  int image;  // index into the edit toolbar's image list
  int command;
  const char* label;
};

// Progress positions of a show that differ between kinds; 0 skips the step.
struct ShowProgressSteps {
  int afterItemsCleared;    // 20, or skipped
  int afterColumnsCleared;  // 30, or skipped
  int beforeFill;           // 50, the album 40
};

// The texts of a record's row in column order: its date, then what the
// kind's rowTexts function adds. A list fill makes one per row, so the texts
// live in the object itself: no allocation per row.
class RowTexts {
 public:
  static constexpr int kMaxTexts = 4;             // the most columns a kind has
  static constexpr std::size_t kMaxLength = 255;  // a whole record text field

  // A record text field (up to its first zero, at most 255 bytes) or a
  // zero-terminated text, cut at 255 characters.
  void Add(const char* text);
  int Count() const { return m_count; }
  const char* operator[](int index) const { return m_texts[index]; }

 private:
  char m_texts[kMaxTexts][kMaxLength + 1];
  int m_count = 0;
};
// Adds the texts after the date.
using RowTextsFunction = void (*)(const unsigned char* record, RowTexts& texts);

// How the question before deleting selected records names them: "Delete 3
// text notes and their files?". The files part is empty for kinds without
// attachments; photos name the album's copies, so nobody fears for the
// originals the photos were added from.
struct DeleteWords {
  const char* one;        // "text note"
  const char* many;       // "text notes"
  const char* filesOne;   // " and its file"
  const char* filesMany;  // " and their files"
};

struct KindDescription {
  RecordKind kind;
  // One record of the kind as the user's boxes name it: "text note", "photo".
  const char* recordName;
  const ColumnDescription* columns;
  int columnCount;
  const ToolbarButtonDescription* buttons;
  int buttonCount;
  const char* deleteAllQuestion;
  DeleteWords deleteWords;
  ShowProgressSteps progress;
  RowTextsFunction rowTexts;
};

const KindDescription& KindDescriptionOf(RecordKind kind);

// The question asked before count selected records of kind are deleted.
std::string DeleteSelectedQuestion(RecordKind kind, int count);

// The list's word for a note or notification type: "Urgent Note" for 1,
// "Normal Note" for anything else.
const char* UrgencyText(int type);
// The list's word for an internet resource type; "Others" outside 0..4.
const char* ResourceTypeText(int type);

#endif  // QUILLMATE_MANAGERS_KINDDESCRIPTION_H
