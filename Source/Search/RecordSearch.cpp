// Per record: its texts are folded and searched for the words still missing;
// only when some word is still missing is the body read. What differs
// between kinds (which texts, which body) comes from the kind table and the
// body table below.
#include "Search/RecordSearch.h"

#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "Database/gxDatabase.h"
#include "Database/gxLiveObjects.h"
#include "Records/AttachmentName.h"
#include "Records/FileSystemPlatform.h"
#include "Search/RtfPlainText.h"
#include "Search/RtfWordFilter.h"

namespace {

enum class BodyFormat { None, RichText, PlainText };

BodyFormat BodyFormatOf(RecordKind kind) {
  switch (kind) {
    case RecordKind::TextNote:
      return BodyFormat::RichText;
    case RecordKind::FastText:
      return BodyFormat::PlainText;
    default:
      return BodyFormat::None;
  }
}

// Texts that say nothing the user wrote: the save time and the attachment's
// made-up file name.
bool IsSearchedField(const RecordField& field) {
  return field.type == RecordFieldType::Text && std::strcmp(field.name, "date") != 0 &&
         std::strcmp(field.name, "file_name") != 0;
}

std::size_t FieldLength(const unsigned char* field) {
  const void* zero = std::memchr(field, 0, 255);
  return zero ? static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - field) : 255;
}

// The excerpt: about a quarter of the room before the match, the rest after,
// line ends and tabs made blanks, "..." where the text was cut.
std::string MakeExcerpt(const char* text, std::size_t size, std::size_t match) {
  std::size_t begin = match > kExcerptLength / 4 ? match - kExcerptLength / 4 : 0;
  // A cut start moves on to the next word, unless that would pass the match.
  if (begin > 0) {
    std::size_t word = begin;
    while (word < match && static_cast<unsigned char>(text[word - 1]) > ' ') ++word;
    begin = word;
  }
  std::size_t end = begin + kExcerptLength < size ? begin + kExcerptLength : size;
  std::string excerpt = begin > 0 ? "..." : "";
  // A run of blanks, line ends and tabs becomes one blank between words.
  bool wrote = false, blank = false;
  for (std::size_t i = begin; i < end; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c <= ' ') {
      blank = wrote;
      continue;
    }
    if (blank) excerpt.push_back(' ');
    excerpt.push_back(static_cast<char>(c));
    wrote = true;
    blank = false;
  }
  if (end < size) excerpt += "...";
  return excerpt;
}

class KindSearch {
 public:
  KindSearch(const SearchScope& scope, const SearchQuery& query, const RecordKindInfo& kind, SearchTotals& totals,
             const std::function<void(const SearchHit&)>& onHit)
      : m_scope(scope), m_query(query), m_kind(kind), m_totals(totals), m_onHit(onHit),
        m_body(BodyFormatOf(kind.kind)) {
    if (kind.attachmentFolderName != nullptr)
      m_bodyFolder = scope.dataFolder + kind.attachmentFolderName + kPathSeparator;
    m_nameField = FindRecordField(kind, "file_name");
    if (m_body == BodyFormat::RichText) {
      for (const std::string& word : query.Words()) m_filters.emplace_back(word, query.CodePage());
    }
  }

  void Run() {
    const std::string path = m_scope.dataFolder + m_kind.storeName + ".qmt";
    if (!gxFileExists(path.c_str())) return;
    gxDatabase db;
    if (db.Open(path.c_str(), 0) != gxNoError || !db.IsReady()) {
      ++m_totals.unreadableStores;
      return;
    }
    m_record.resize(m_kind.recordSize);
    gxForEachLiveObject(db, [&](std::uint32_t address, std::uint32_t) {
      if (Cancelled()) return false;
      ++m_totals.records;
      if (db.ReadVerifiedObject(address, m_record.data(), m_kind.recordSize) != gxObjectCheck::Matches) {
        ++m_totals.damagedRecords;
        return true;
      }
      SearchRecord(address);
      return true;
    });
    db.Close();
  }

  bool Cancelled() {
    if (m_scope.cancel != nullptr && m_scope.cancel->load(std::memory_order_relaxed)) m_totals.cancelled = true;
    return m_totals.cancelled;
  }

 private:
  struct FirstMatch {
    bool found = false;
    const char* where = nullptr;
    std::string excerpt;
  };

  // Looks for the words not yet found in text; the first text with a match
  // names the hit's place.
  void SearchText(const char* text, std::size_t size, const char* where, unsigned& found, FirstMatch& first) {
    FoldText(text, size, m_query.CodePage(), m_folded);
    const std::string_view folded(m_folded);
    const std::vector<std::string>& words = m_query.Words();
    for (std::size_t i = 0; i < words.size(); ++i) {
      if ((found & (1u << i)) != 0) continue;
      const std::size_t at = folded.find(words[i]);
      if (at == std::string_view::npos) continue;
      found |= 1u << i;
      if (!first.found) {
        first.found = true;
        first.where = where;
        first.excerpt = MakeExcerpt(text, size, at);
      }
    }
  }

  void SearchRecord(std::uint32_t address) {
    unsigned found = 0;
    FirstMatch first;
    const unsigned all = m_query.AllWords();
    for (std::size_t i = 0; i < m_kind.fieldCount && found != all; ++i) {
      const RecordField& field = m_kind.fields[i];
      if (!IsSearchedField(field)) continue;
      const unsigned char* text = m_record.data() + field.offset;
      SearchText(reinterpret_cast<const char*>(text), FieldLength(text), field.name, found, first);
    }
    if (found != all && m_body != BodyFormat::None && ReadBody(all & ~found)) {
      SearchText(m_bodyText.data(), m_bodyText.size(), "body", found, first);
    }
    if (found != all) return;
    SearchHit hit;
    hit.kind = m_kind.kind;
    hit.address = address;
    const unsigned char* title = m_record.data() + m_kind.fields[1].offset;
    hit.title.assign(reinterpret_cast<const char*>(title), FieldLength(title));
    hit.where = first.where;
    hit.excerpt = std::move(first.excerpt);
    ++m_totals.hits;
    m_onHit(hit);
  }

  // The body's text into m_bodyText; false when there is none to search (a
  // record naming no file or a missing file), when it cannot hold one of the
  // missing words (then it is not read as RTF at all, and damage in it goes
  // unseen), or when it is damaged (counted).
  bool ReadBody(unsigned missing) {
    if (m_nameField == nullptr) return false;
    const unsigned char* name = m_record.data() + m_nameField->offset;
    std::string path;
    const std::string storedName(reinterpret_cast<const char*>(name), FieldLength(name));
    if (storedName.empty() || !AttachmentPath(m_bodyFolder, storedName.c_str(), path)) return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    bool complete = ReadWhole(file, m_bodyBytes);
    std::fclose(file);
    if (!complete) {
      ++m_totals.damagedBodies;
      return false;
    }
    if (m_body == BodyFormat::PlainText) {
      m_bodyText.swap(m_bodyBytes);
      return true;
    }
    for (std::size_t i = 0; i < m_filters.size(); ++i) {
      if ((missing & (1u << i)) != 0 && !m_filters[i].MayContain(m_bodyBytes.data(), m_bodyBytes.size()))
        return false;
    }
    if (RtfToPlainText(m_bodyBytes.data(), m_bodyBytes.size(), m_query.CodePage(), m_bodyText) != RtfStatus::Ok) {
      ++m_totals.damagedBodies;
      return false;
    }
    return true;
  }

  // False for a read error or a file beyond the size limit. The file is
  // read straight into the buffer, sized once from the file's length.
  static bool ReadWhole(std::FILE* file, std::string& bytes) {
    bytes.clear();
    if (std::fseek(file, 0, SEEK_END) != 0) return false;
    const long length = std::ftell(file);
    if (length < 0 || static_cast<unsigned long>(length) > kMaxSearchedBodyBytes || std::fseek(file, 0, SEEK_SET) != 0)
      return false;
    bytes.resize(static_cast<std::size_t>(length));
    const std::size_t got = length > 0 ? std::fread(&bytes[0], 1, bytes.size(), file) : 0;
    bytes.resize(got);  // a file that shrank meanwhile: what was there
    return std::ferror(file) == 0;
  }

  const SearchScope& m_scope;
  const SearchQuery& m_query;
  const RecordKindInfo& m_kind;
  SearchTotals& m_totals;
  const std::function<void(const SearchHit&)>& m_onHit;
  BodyFormat m_body;
  const RecordField* m_nameField = nullptr;
  std::vector<RtfWordFilter> m_filters;  // one per word, for rich-text bodies
  std::string m_bodyFolder;
  std::vector<unsigned char> m_record;
  std::string m_folded;
  std::string m_bodyBytes;
  std::string m_bodyText;
};

}  // namespace

SearchTotals SearchRecords(const SearchScope& scope, const SearchQuery& query,
                           const std::function<void(const SearchHit&)>& onHit) {
  SearchTotals totals;
  if (query.Empty()) return totals;
  for (int index = 0; index < kRecordKindCount; ++index) {
    if (scope.kind >= 0 && scope.kind != index) continue;
    KindSearch search(scope, query, RecordKindInfoAt(index), totals, onHit);
    if (search.Cancelled()) break;
    search.Run();
    if (totals.cancelled) break;
  }
  return totals;
}
