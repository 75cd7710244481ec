// Per record: its texts are folded and searched for the words still missing;
// only when some word is still missing is the body read, on whichever
// worker thread is free. What differs between kinds (which texts, which
// body) comes from the kind table and the body table below.
#include "Search/RecordSearch.h"

#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "Database/gxDatabase.h"
#include "Database/gxLiveObjects.h"
#include "Records/AttachmentName.h"
#include "Records/FileSystemPlatform.h"
#include "Search/BatchWorkers.h"
#include "Search/BodyFile.h"
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

// What a thread needs to read bodies, one per thread.
struct BodyReader {
  BodyBuffer bytes;
  std::string text;
  std::string folded;
  std::string path;
};

struct FirstMatch {
  bool found = false;
  const char* where = nullptr;
  std::string excerpt;
};

// Looks for the words not yet found in text; the first text with a match
// names the hit's place. folded is room for the folded text.
void SearchText(const SearchQuery& query, const char* text, std::size_t size, const char* where, std::string& folded,
                unsigned& found, FirstMatch& first) {
  FoldText(text, size, query.CodePage(), folded);
  const std::string_view view(folded);
  const std::vector<std::string>& words = query.Words();
  for (std::size_t i = 0; i < words.size(); ++i) {
    if ((found & (1u << i)) != 0) continue;
    const std::size_t at = view.find(words[i]);
    if (at == std::string_view::npos) continue;
    found |= 1u << i;
    if (!first.found) {
      first.found = true;
      first.where = where;
      first.excerpt = MakeExcerpt(text, size, at);
    }
  }
}

// Records whose body is still to be read wait in a batch, with the records
// before and after them, so that hits keep the file order while the bodies
// are read on several threads. The first batches are small, so that the
// first hits show soon; later ones larger, so that the threads meet seldom.
constexpr std::size_t kFirstBatchRecords = 8;
constexpr std::size_t kBatchRecords = 128;

class KindSearch {
 public:
  KindSearch(const SearchScope& scope, const SearchQuery& query, const RecordKindInfo& kind, SearchTotals& totals,
             const std::function<void(const SearchHit&)>& onHit, BatchWorkers& workers,
             std::vector<BodyReader>& readers)
      : m_scope(scope), m_query(query), m_kind(kind), m_totals(totals), m_onHit(onHit), m_workers(workers),
        m_readers(readers), m_body(BodyFormatOf(kind.kind)) {
    if (kind.attachmentFolderName != nullptr)
      m_bodyFolder = scope.dataFolder + kind.attachmentFolderName + kPathSeparator;
    if (m_body != BodyFormat::None && !m_bodyFolder.empty()) m_bodies.reset(new BodyFolder(m_bodyFolder));
    m_nameField = FindRecordField(kind, "file_name");
    if (m_body == BodyFormat::RichText) {
      for (const std::string& word : query.Words()) m_filters.emplace_back(word, query.CodePage());
    }
    for (std::size_t i = 0; i < kind.fieldCount; ++i) {
      if (IsSearchedField(kind.fields[i])) m_searched.push_back(&kind.fields[i]);
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
      return m_pending.size() < m_batchLimit || ReadPendingBodies();
    });
    if (!Cancelled()) ReadPendingBodies();
    db.Close();
  }

  bool Cancelled() {
    if (m_scope.cancel != nullptr && m_scope.cancel->load(std::memory_order_relaxed)) m_totals.cancelled = true;
    return m_totals.cancelled;
  }

 private:
  struct Pending {
    std::uint32_t address = 0;
    unsigned found = 0;
    bool readBody = false;
    bool damagedBody = false;
    FirstMatch first;
  };

  const unsigned char* PendingRecord(std::size_t index) const { return &m_pendingRecords[index * m_kind.recordSize]; }

  void SearchRecord(std::uint32_t address) {
    Pending record;
    record.address = address;
    const unsigned all = m_query.AllWords();
    for (const RecordField* field : m_searched) {
      if (record.found == all) break;
      const unsigned char* text = m_record.data() + field->offset;
      SearchText(m_query, reinterpret_cast<const char*>(text), FieldLength(text), field->name, m_folded, record.found,
                 record.first);
    }
    record.readBody = record.found != all && m_body != BodyFormat::None;
    // Nothing waiting and nothing to read: decided now.
    if (!record.readBody && m_pending.empty()) {
      if (record.found == all) Report(m_record.data(), record);
      return;
    }
    m_pendingRecords.insert(m_pendingRecords.end(), m_record.begin(), m_record.end());
    m_pending.push_back(std::move(record));
  }

  // Reads the waiting bodies on every worker, then reports in file order.
  // False when the search was cancelled meanwhile (nothing reported).
  bool ReadPendingBodies() {
    m_workers.Run(m_pending.size(), [this](std::size_t item, int worker) {
      Pending& record = m_pending[item];
      if (!record.readBody) return;
      if (m_scope.cancel != nullptr && m_scope.cancel->load(std::memory_order_relaxed)) return;
      SearchBody(m_readers[static_cast<std::size_t>(worker)], PendingRecord(item), record);
    });
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
      if (Cancelled()) return false;
      if (m_pending[i].damagedBody) ++m_totals.damagedBodies;
      if (m_pending[i].found == m_query.AllWords()) Report(PendingRecord(i), m_pending[i]);
    }
    m_pending.clear();
    m_pendingRecords.clear();
    if (m_batchLimit < kBatchRecords) m_batchLimit *= 2;
    return true;
  }

  void Report(const unsigned char* data, Pending& record) {
    SearchHit hit;
    hit.kind = m_kind.kind;
    hit.address = record.address;
    const unsigned char* title = data + m_kind.fields[1].offset;
    hit.title.assign(reinterpret_cast<const char*>(title), FieldLength(title));
    hit.where = record.first.where;
    hit.excerpt = std::move(record.first.excerpt);
    ++m_totals.hits;
    m_onHit(hit);
  }

  // On any worker: touches only the record, its reader and what is shared read-only.
  void SearchBody(BodyReader& reader, const unsigned char* data, Pending& record) const {
    const char* text = nullptr;
    std::size_t size = 0;
    if (!ReadBody(reader, data, m_query.AllWords() & ~record.found, record.damagedBody, text, size)) return;
    SearchText(m_query, text, size, "body", reader.folded, record.found, record.first);
  }

  // The body's text (text, size); false when there is none to search (a
  // record naming no file or a missing file), when it cannot hold one of the
  // missing words (then it is not read as RTF at all, and damage in it goes
  // unseen), or when it is damaged (damaged set).
  bool ReadBody(BodyReader& reader, const unsigned char* data, unsigned missing, bool& damaged, const char*& text,
                std::size_t& size) const {
    if (m_nameField == nullptr || m_bodies == nullptr) return false;
    const unsigned char* name = data + m_nameField->offset;
    char storedName[256];
    const std::size_t nameLength = FieldLength(name);
    std::memcpy(storedName, name, nameLength);
    storedName[nameLength] = '\0';
    // The name must be one a body can have (no folders, no devices).
    if (nameLength == 0 || !AttachmentPath(m_bodyFolder, storedName, reader.path)) return false;
    const BodyRead read = m_bodies->Read(storedName, kMaxSearchedBodyBytes, reader.bytes);
    if (read == BodyRead::Missing) return false;
    if (read == BodyRead::Damaged) {
      damaged = true;
      return false;
    }
    const char* bytes = reader.bytes.Data();
    const std::size_t length = reader.bytes.Size();
    if (m_body == BodyFormat::PlainText) {
      text = bytes;
      size = length;
      return true;
    }
    for (std::size_t i = 0; i < m_filters.size(); ++i) {
      if ((missing & (1u << i)) != 0 && !m_filters[i].MayContain(bytes, length)) return false;
    }
    if (RtfToPlainText(bytes, length, m_query.CodePage(), reader.text) != RtfStatus::Ok) {
      damaged = true;
      return false;
    }
    text = reader.text.data();
    size = reader.text.size();
    return true;
  }

  const SearchScope& m_scope;
  const SearchQuery& m_query;
  const RecordKindInfo& m_kind;
  SearchTotals& m_totals;
  const std::function<void(const SearchHit&)>& m_onHit;
  BatchWorkers& m_workers;
  std::vector<BodyReader>& m_readers;  // one per worker
  BodyFormat m_body;
  const RecordField* m_nameField = nullptr;
  std::vector<const RecordField*> m_searched;
  std::vector<RtfWordFilter> m_filters;  // one per word, for rich-text bodies
  std::string m_bodyFolder;
  std::unique_ptr<BodyFolder> m_bodies;
  std::vector<unsigned char> m_record;
  std::string m_folded;
  std::vector<Pending> m_pending;
  std::size_t m_batchLimit = kFirstBatchRecords;
  std::vector<unsigned char> m_pendingRecords;  // their bytes, one record size each
};

}  // namespace

SearchTotals SearchRecords(const SearchScope& scope, const SearchQuery& query,
                           const std::function<void(const SearchHit&)>& onHit) {
  SearchTotals totals;
  if (query.Empty()) return totals;
  BatchWorkers workers(HelperThreadsFor(1));
  std::vector<BodyReader> readers(static_cast<std::size_t>(workers.Workers()));
  for (int index = 0; index < kRecordKindCount; ++index) {
    if (scope.kind >= 0 && scope.kind != index) continue;
    KindSearch search(scope, query, RecordKindInfoAt(index), totals, onHit, workers, readers);
    if (search.Cancelled()) break;
    search.Run();
    if (totals.cancelled) break;
  }
  return totals;
}
