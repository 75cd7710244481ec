// A reader must never read outside its input, and what it accepts must
// survive the trip into a record and out through the writer of its format.
#include "ImportFuzzTarget.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "BookmarkFile.h"
#include "ContentLine.h"
#include "RecordFields.h"
#include "VCard.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// The record that import makes of one imported entry (texts cut to the
// field, characters the code page lacks as '?').
std::vector<unsigned char> Build(const RecordKindInfo& kind, const ImportedRecord& imported) {
  std::vector<unsigned char> bytes(kind.recordSize, 0);
  RecordFields fields(kind, bytes.data(), CodePage::Windows1252());
  for (const auto& text : imported.texts) {
    bool ok = true;
    fields.SetText(text.first.c_str(), text.second, ok);
    // Readers hand out valid UTF-8 only; a U+0000 no record text can hold
    // makes import refuse the input.
    Require(ok || text.second.find('\0') != std::string::npos);
  }
  for (const auto& integer : imported.integers) fields.SetInteger(integer.first.c_str(), integer.second);
  for (std::size_t i = 0; i < kind.fieldCount; ++i) {
    const RecordField& field = kind.fields[i];
    if (field.type == RecordFieldType::Text) Require(bytes[field.offset + 254] == 0);
  }
  return bytes;
}

void RoundTripCards(const std::vector<ImportedRecord>& cards) {
  const RecordKindInfo& kind = RecordKindInfoOf(RecordKind::EmailRes);
  std::string written;
  for (const ImportedRecord& card : cards) {
    std::vector<unsigned char> bytes = Build(kind, card);
    int dropped = 0;
    AppendVCard(written, RecordFields(kind, bytes.data(), CodePage::Windows1252()), dropped);
  }
  std::vector<ImportedRecord> again;
  std::string error;
  Require(ReadVCards(written, again, error));
  Require(again.size() == cards.size());
}

void RoundTripBookmarks(const std::vector<ImportedRecord>& entries) {
  const RecordKindInfo& kind = RecordKindInfoOf(RecordKind::InternetRes);
  std::vector<Bookmark> bookmarks;
  for (const ImportedRecord& entry : entries) {
    std::vector<unsigned char> bytes = Build(kind, entry);
    RecordFields fields(kind, bytes.data(), CodePage::Windows1252());
    bookmarks.push_back({fields.Text("title"), fields.Text("address"), fields.Integer("resource_type")});
  }
  std::vector<ImportedRecord> again;
  std::string error;
  Require(ReadBookmarkFile(WriteBookmarkFile(bookmarks), again, error));
  Require(again.size() == bookmarks.size());
}

}  // namespace

int QmFuzzImport(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<ImportedRecord> records;
  std::string error;
  if (ReadVCards(text, records, error)) RoundTripCards(records);
  if (ReadBookmarkFile(text, records, error)) RoundTripBookmarks(records);
  std::vector<ContentLine> lines;
  if (ParseContentLines(text, lines, error)) {
    for (const ContentLine& line : lines) {
      Require(!line.name.empty());
      UnescapeContentText(line.value);
      SplitContentValue(line.value, ';');
      ContentParameter(line, "TZID");
    }
  }
  return 0;
}
