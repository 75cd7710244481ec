// What the record list, the edit toolbar and the progress bar show for each
// kind: the data that makes the one manager implementation serve all eight.
#ifndef QUILLMATE_MANAGERS_KINDDESCRIPTION_H
#define QUILLMATE_MANAGERS_KINDDESCRIPTION_H

#include <string>
#include <vector>

#include "Records/RecordKind.h"

struct ColumnDescription {
  const char* title;
  int width;  // pixels, left-aligned
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

// The sub-item texts of a record's row, after the date, in column order.
using RowTexts = std::vector<std::string>;
using RowTextsFunction = void (*)(const unsigned char* record, RowTexts& texts);

struct KindDescription {
  RecordKind kind;
  const ColumnDescription* columns;
  int columnCount;
  const ToolbarButtonDescription* buttons;
  int buttonCount;
  const char* deleteAllQuestion;
  ShowProgressSteps progress;
  RowTextsFunction rowTexts;
};

const KindDescription& KindDescriptionOf(RecordKind kind);

// The list's word for a note or notification type: "Urgent Note" for 1,
// "Normal Note" for anything else.
const char* UrgencyText(int type);
// The list's word for an internet resource type; "Others" outside 0..4.
const char* ResourceTypeText(int type);

#endif  // QUILLMATE_MANAGERS_KINDDESCRIPTION_H
