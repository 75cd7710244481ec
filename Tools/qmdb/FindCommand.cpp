#include "FindCommand.h"

#include "JsonLine.h"
#include "Records/FileSystemPlatform.h"
#include "Search/RecordSearch.h"

SearchCodePage SearchCodePageOf(const CodePage& codePage) {
  std::uint16_t high[128] = {};
  for (int byte = 0x80; byte < 0x100; ++byte) {
    const std::string utf8 = codePage.ToUtf8(std::string(1, static_cast<char>(byte)));
    std::size_t position = 0;
    std::uint32_t code = 0;
    if (DecodeUtf8(utf8, position, code) && code <= 0xFFFF) high[byte - 0x80] = static_cast<std::uint16_t>(code);
  }
  return SearchCodePage(high);
}

int FindInDataFolder(const FindRequest& request, std::ostream& out, std::ostream& err) {
  const CodePage& codePage = request.codePage ? *request.codePage : CodePage::Windows1252();
  std::string text;
  for (const std::string& word : request.words) {
    std::string bytes, error;
    int replaced = 0;
    if (!codePage.FromUtf8Replacing(word, bytes, replaced, error)) {
      err << "qmdb: find: \"" << word << "\": " << error << "\n";
      return 2;
    }
    text += bytes + " ";
  }
  const SearchCodePage searchCodePage = SearchCodePageOf(codePage);
  const SearchQuery query(text, searchCodePage);
  if (query.Empty()) {
    err << "qmdb: find needs a DATAFOLDER and at least one word\n";
    return 2;
  }
  SearchScope scope;
  scope.dataFolder = request.dataFolder;
  if (scope.dataFolder.empty() || (scope.dataFolder.back() != '/' && scope.dataFolder.back() != '\\'))
    scope.dataFolder += kPathSeparator;
  scope.kind = request.kind ? static_cast<int>(request.kind->kind) : -1;
  const SearchTotals totals = SearchRecords(scope, query, [&](const SearchHit& hit) {
    const char* kind = RecordKindInfoOf(hit.kind).toolName;
    if (request.json) {
      JsonObjectWriter line;
      line.AddString("kind", kind);
      line.AddInteger("object_address", hit.address);
      line.AddString("title", codePage.ToUtf8(hit.title));
      line.AddString("where", hit.where);
      line.AddString("excerpt", codePage.ToUtf8(hit.excerpt));
      out << line.Finish() << "\n";
    } else {
      out << kind << "\t" << hit.address << "\t" << codePage.ToUtf8(hit.title) << "\t" << hit.where << "\t"
          << codePage.ToUtf8(hit.excerpt) << "\n";
    }
  });
  err << "qmdb: " << totals.hits << (totals.hits == 1 ? " hit" : " hits") << " in " << totals.records
      << " records";
  if (totals.damagedRecords > 0) err << "; " << totals.damagedRecords << " damaged records skipped";
  if (totals.damagedBodies > 0) err << "; " << totals.damagedBodies << " damaged bodies skipped";
  if (totals.unreadableStores > 0) err << "; " << totals.unreadableStores << " store files are no database";
  err << "\n";
  const bool skipped = totals.damagedRecords > 0 || totals.damagedBodies > 0 || totals.unreadableStores > 0;
  return skipped ? 1 : 0;
}
