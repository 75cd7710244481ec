// The search across every kind of a data folder: each kind's store is walked
// through the engine directly (read-only, never through the program's record
// stores, which show message boxes and belong to the interface thread), and
// the bodies that hold text are read too: the rich text of text notes and
// the snippets of fast texts. A record is a hit when every word of the query
// occurs in it (in any of its texts or its body). Damaged records (a CRC that
// does not match, a read that fails) and damaged bodies (over the RTF
// reader's limits, unreadable, too large) are skipped and counted, never
// shown as hits. Safe to run on a worker thread: it touches no window and
// no state shared with the program.
#ifndef QUILLMATE_SEARCH_RECORDSEARCH_H
#define QUILLMATE_SEARCH_RECORDSEARCH_H

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "Records/RecordKind.h"
#include "Search/SearchQuery.h"

// Bodies larger than this are not read (counted as damaged).
constexpr std::size_t kMaxSearchedBodyBytes = 64u * 1024u * 1024u;
// Excerpts are at most this many bytes, plus the marks of a cut.
constexpr std::size_t kExcerptLength = 80;

struct SearchHit {
  RecordKind kind = RecordKind::TextNote;
  std::uint32_t address = 0;  // the record's object address in its store
  std::string title;          // the record's title (an e-mail resource's name)
  std::string where;          // the field where the first word matched ("title", "email", ...) or "body"
  std::string excerpt;        // a short piece of that text around the match, on one line
};

struct SearchTotals {
  int records = 0;  // records looked at
  int hits = 0;
  int damagedRecords = 0;
  int damagedBodies = 0;
  int unreadableStores = 0;  // store files that exist but are no database
  bool cancelled = false;
};

struct SearchScope {
  std::string dataFolder;  // ends with the path separator
  int kind = -1;           // 0..7 for one kind, -1 for all
  // Checked between records; when it turns true the search ends early.
  const std::atomic<bool>* cancel = nullptr;
};

// Hits come in kind order, then in file order within a kind.
SearchTotals SearchRecords(const SearchScope& scope, const SearchQuery& query,
                           const std::function<void(const SearchHit&)>& onHit);

#endif  // QUILLMATE_SEARCH_RECORDSEARCH_H
