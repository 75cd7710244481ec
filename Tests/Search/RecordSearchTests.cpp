// The search over a whole data folder: hits in every kind and in both kinds
// of bodies, all words required, case folded in the code page, damaged
// records, bodies and stores skipped and counted, cancelling; and qmdb find
// on the same folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <tuple>
#include <sstream>
#include <string>
#include <vector>

#include "QmdbCommands.h"
#include "SearchTestSupport.h"
#include "Search/RecordSearch.h"
#include "Support/DataFolderWriter.h"
#include "Support/FileBytes.h"
#include "Support/ScratchFolder.h"

namespace qmsearch {
namespace {

using qmtest::FieldTexts;

struct Found {
  RecordKind kind;
  std::uint32_t address;
  std::string title;
  std::string where;
  std::string excerpt;
};

class RecordSearchTest : public ::testing::Test {
 protected:
  std::string Folder() const { return m_folder.Path().string() + "/data/"; }

  std::vector<Found> Search(const std::string& text, SearchTotals* totals = nullptr, int kind = -1,
                            const std::atomic<bool>* cancel = nullptr) {
    m_writer.Close();
    SearchScope scope;
    scope.dataFolder = Folder();
    scope.kind = kind;
    scope.cancel = cancel;
    std::vector<Found> hits;
    const SearchQuery query(text, Cp1252());
    const SearchTotals result = SearchRecords(scope, query, [&](const SearchHit& hit) {
      hits.push_back({hit.kind, hit.address, hit.title, hit.where, hit.excerpt});
    });
    if (totals) *totals = result;
    EXPECT_EQ(result.hits, static_cast<int>(hits.size()));
    return hits;
  }

  std::uint32_t Note(const char* title, const char* fileName, const std::string& body) {
    m_writer.WriteAttachment(RecordKind::TextNote, fileName, body);
    return m_writer.Add(RecordKind::TextNote, {{"title", title}, {"file_name", fileName}});
  }

  qmtest::ScratchFolder m_folder{"qm-search"};
  qmtest::DataFolderWriter m_writer{Folder()};
};

std::string Rtf(const std::string& text) {
  return "{\\rtf1\\ansi{\\fonttbl{\\f0 Zebra Sans;}}{\\*\\generator zebra}\\pard\\f0 " + text + "\\par}";
}

TEST_F(RecordSearchTest, FindsEveryKindInItsTextsAndTheBodiesOfTextNotesAndFastTexts) {
  const std::uint32_t safari = Note("Safari", "TextNote1.doc", Rtf("The striped {\\b Zebra}\\b0  runs far"));
  const std::uint32_t crossing = Note("Zebra crossing", "TextNote2.doc", Rtf("walk"));
  Note("Shopping", "TextNote3.doc", Rtf("milk"));
  // A made-up file name and the save time say nothing the user wrote.
  Note("Plain", "zebra.doc", Rtf("nothing"));
  const std::uint32_t song = m_writer.Add(RecordKind::AudioNote, {{"title", "zebra song"}});
  m_writer.Add(RecordKind::VideoNote, {{"title", "Holiday"}});
  const std::uint32_t film = m_writer.Add(RecordKind::VideoNote, {{"title", "ZEBRA film"}});
  const std::uint32_t photo =
      m_writer.Add(RecordKind::PhotoAlbum, {{"title", "Zoo"}, {"comment", "a zebra at the zoo"}});
  const std::uint32_t reminder =
      m_writer.Add(RecordKind::TimeNotif, {{"title", "Morning"}, {"text", "feed the zebra"}});
  const std::uint32_t keeper = m_writer.Add(RecordKind::EmailRes, {{"name", "Zed"}, {"comment", "zebra keeper"}});
  const std::uint32_t mail = m_writer.Add(RecordKind::EmailRes, {{"name", "Zoo"}, {"email", "zebra@zoo.example"}});
  m_writer.Add(RecordKind::EmailRes, {{"name", "Other"}, {"email", "other@example.org"}});
  const std::uint32_t site =
      m_writer.Add(RecordKind::InternetRes, {{"title", "Stripes"}, {"address", "http://zebra.example.org"}});
  m_writer.WriteAttachment(RecordKind::FastText, "FastText1.fst", "Hello Zebra friends");
  const std::uint32_t greeting =
      m_writer.Add(RecordKind::FastText, {{"title", "Greeting"}, {"file_name", "FastText1.fst"}});
  m_writer.WriteAttachment(RecordKind::FastText, "FastText2.fst", "Bye");
  m_writer.Add(RecordKind::FastText, {{"title", "Bye"}, {"file_name", "FastText2.fst"}});

  SearchTotals totals;
  const std::vector<Found> hits = Search("zebra", &totals);
  ASSERT_EQ(hits.size(), 10u);
  const std::vector<std::tuple<RecordKind, std::uint32_t, std::string, std::string>> expected = {
      {RecordKind::TextNote, safari, "Safari", "body"},
      {RecordKind::TextNote, crossing, "Zebra crossing", "title"},
      {RecordKind::AudioNote, song, "zebra song", "title"},
      {RecordKind::VideoNote, film, "ZEBRA film", "title"},
      {RecordKind::PhotoAlbum, photo, "Zoo", "comment"},
      {RecordKind::TimeNotif, reminder, "Morning", "text"},
      {RecordKind::EmailRes, keeper, "Zed", "comment"},
      {RecordKind::EmailRes, mail, "Zoo", "email"},
      {RecordKind::InternetRes, site, "Stripes", "address"},
      {RecordKind::FastText, greeting, "Greeting", "body"},
  };
  for (std::size_t i = 0; i < hits.size(); ++i) {
    SCOPED_TRACE(hits[i].title);
    EXPECT_EQ(hits[i].kind, std::get<0>(expected[i]));
    EXPECT_EQ(hits[i].address, std::get<1>(expected[i]));
    EXPECT_EQ(hits[i].title, std::get<2>(expected[i]));
    EXPECT_EQ(hits[i].where, std::get<3>(expected[i]));
  }
  EXPECT_EQ(hits[0].excerpt, "The striped Zebra runs far");
  EXPECT_EQ(hits[9].excerpt, "Hello Zebra friends");
  EXPECT_EQ(totals.records, 15);
  EXPECT_EQ(totals.damagedRecords + totals.damagedBodies + totals.unreadableStores, 0);

  // Every word must occur, anywhere in the record: title and body together.
  std::vector<Found> both = Search("safari ZEBRA");
  ASSERT_EQ(both.size(), 1u);
  EXPECT_EQ(both[0].address, safari);
  EXPECT_EQ(both[0].where, "title");
  EXPECT_EQ(Search("zebra milk").size(), 0u);
  EXPECT_EQ(Search("striped runs").size(), 1u);
  // One kind only.
  EXPECT_EQ(Search("zebra", nullptr, static_cast<int>(RecordKind::EmailRes)).size(), 2u);
}

TEST_F(RecordSearchTest, LetterCaseIsFoldedInTheCodePageAndExcerptsAreShortLines) {
  m_writer.Add(RecordKind::InternetRes, {{"title", "\xc9" "cole \x8a" "koda"}});  // École Škoda
  const std::string longText = std::string(200, 'x') + "\r\n\tneedle\r\n" + std::string(200, 'y');
  m_writer.Add(RecordKind::TimeNotif, {{"title", "Long"}, {"text", longText}});
  std::vector<Found> hits = Search("\xe9" "COLE \x9a" "KODA");  // éCOLE šKODA
  ASSERT_EQ(hits.size(), 1u);
  hits = Search("needle");
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].excerpt.find('\n'), std::string::npos);
  EXPECT_EQ(hits[0].excerpt.find('\t'), std::string::npos);
  EXPECT_EQ(hits[0].excerpt.substr(0, 3), "...");
  // A cut start moves on to the next word: no piece of the x's is left.
  EXPECT_EQ(hits[0].excerpt.substr(0, 11), "...needle y");
  EXPECT_LE(hits[0].excerpt.size(), kExcerptLength + 6);
}

TEST_F(RecordSearchTest, DamagedRecordsBodiesAndStoresAreSkippedAndCounted) {
  m_writer.Add(RecordKind::EmailRes, {{"name", "zebra one"}});
  const std::uint32_t two = m_writer.Add(RecordKind::EmailRes, {{"name", "zebra two"}});
  m_writer.Add(RecordKind::EmailRes, {{"name", "zebra three"}});
  // A body over the reader's limits hides nothing behind it, and a title
  // that matches does not need the body at all.
  const std::string deep = "{\\rtf1 " + std::string(2000, '{') + "zebra" + std::string(2000, '}') + "}";
  Note("Deep", "TextNote1.doc", deep);
  Note("zebra in the title", "TextNote2.doc", deep);
  Note("Cut short", "TextNote3.doc", "{\\rtf1 zebra \\bin999999 x}");
  m_writer.Close();
  // One byte of record two's name changes on disk: its checksum no longer matches.
  const std::string emails = m_writer.StorePath(RecordKind::EmailRes);
  qmtest::Bytes bytes = qmtest::ReadFileBytes(emails);
  bytes.at(two + 255 + 6) ^= 0x20;
  qmtest::WriteFileBytes(emails, bytes);
  qmtest::WriteFileText(m_writer.StorePath(RecordKind::InternetRes), "not a database at all, just text");

  SearchTotals totals;
  const std::vector<Found> hits = Search("zebra", &totals);
  ASSERT_EQ(hits.size(), 3u);
  EXPECT_EQ(hits[0].title, "zebra in the title");
  EXPECT_EQ(hits[1].title, "zebra one");
  EXPECT_EQ(hits[2].title, "zebra three");
  EXPECT_EQ(totals.damagedRecords, 1);
  EXPECT_EQ(totals.damagedBodies, 2);
  EXPECT_EQ(totals.unreadableStores, 1);
}

TEST_F(RecordSearchTest, ACancelledSearchStopsAtTheNextRecord) {
  for (int i = 0; i < 50; ++i) m_writer.Add(RecordKind::FastText, {{"title", "zebra " + std::to_string(i)}});
  m_writer.Add(RecordKind::EmailRes, {{"name", "zebra mail"}});
  std::atomic<bool> cancel{false};
  std::vector<Found> hits;
  m_writer.Close();
  SearchScope scope;
  scope.dataFolder = Folder();
  scope.cancel = &cancel;
  const SearchQuery query("zebra", Cp1252());
  const SearchTotals totals = SearchRecords(scope, query, [&](const SearchHit& hit) {
    hits.push_back({hit.kind, hit.address, hit.title, hit.where, hit.excerpt});
    if (hits.size() == 3) cancel = true;
  });
  EXPECT_TRUE(totals.cancelled);
  EXPECT_EQ(hits.size(), 3u);
  cancel = true;
  EXPECT_TRUE(Search("zebra", nullptr, -1, &cancel).empty());
}

// Several hundred bodies are read in batches over two threads: the hits
// still come in file order, whether they matched in a title (known before
// any body is read) or in a body; a damaged body in the middle of a batch is
// counted once, a missing one not at all; cancelling in the middle of a
// batch reports nothing after it.
TEST_F(RecordSearchTest, BodiesReadOnSeveralThreadsGiveTheirHitsInFileOrder) {
  std::vector<std::uint32_t> expected;
  for (int i = 0; i < 700; ++i) {
    const std::string n = std::to_string(i);
    const bool inTitle = i % 11 == 0, inBody = i % 7 == 0;
    // Bodies of different lengths, so that the threads finish out of order.
    const std::string filler(static_cast<std::size_t>(i % 13) * 2000, 'x');
    std::uint32_t address = 0;
    if (i == 350) {
      address = Note("Deep", "TextNote350.doc", "{\\rtf1 " + std::string(2000, '{') + "zebra");
    } else if (i == 351) {
      address = m_writer.Add(RecordKind::TextNote, {{"title", "Gone"}, {"file_name", "TextNote999.doc"}});
    } else if (i % 2 == 0) {
      address = Note(("Note " + n + (inTitle ? " zebra" : "")).c_str(), ("TextNote" + n + ".doc").c_str(),
                     Rtf(filler + (inBody ? " a {\\b Zebra} " : " a horse ") + n));
    } else {
      m_writer.WriteAttachment(RecordKind::FastText, "FastText" + n + ".fst", filler + (inBody ? " zebra" : " horse"));
      address = m_writer.Add(RecordKind::FastText,
                             {{"title", "Snippet " + n + (inTitle ? " zebra" : "")}, {"file_name", "FastText" + n + ".fst"}});
    }
    if ((inTitle || inBody) && i != 350 && i != 351) expected.push_back(address);
  }
  SearchTotals totals;
  const std::vector<Found> hits = Search("zebra", &totals);
  std::vector<std::uint32_t> notes, snippets;
  for (const Found& hit : hits) (hit.kind == RecordKind::TextNote ? notes : snippets).push_back(hit.address);
  ASSERT_EQ(notes.size() + snippets.size(), expected.size());
  EXPECT_TRUE(std::is_sorted(notes.begin(), notes.end()));
  EXPECT_TRUE(std::is_sorted(snippets.begin(), snippets.end()));
  EXPECT_EQ(hits.front().kind, RecordKind::TextNote);
  EXPECT_EQ(hits.back().kind, RecordKind::FastText);
  std::vector<std::uint32_t> all = notes;
  all.insert(all.end(), snippets.begin(), snippets.end());
  std::vector<std::uint32_t> sortedExpected = expected;
  std::sort(sortedExpected.begin(), sortedExpected.end());
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, sortedExpected);
  EXPECT_EQ(totals.damagedBodies, 1);
  EXPECT_EQ(totals.records, 700);

  std::atomic<bool> cancel{false};
  SearchScope scope;
  scope.dataFolder = Folder();
  scope.cancel = &cancel;
  int reported = 0;
  const SearchQuery query("zebra", Cp1252());
  const SearchTotals cut = SearchRecords(scope, query, [&](const SearchHit&) {
    if (++reported == 20) cancel = true;
  });
  EXPECT_TRUE(cut.cancelled);
  EXPECT_EQ(reported, 20);
}

TEST_F(RecordSearchTest, QmdbFindPrintsEachHitAsALineOrAsJson) {
  Note("Safari", "TextNote1.doc", Rtf("the zebra"));
  m_writer.Add(RecordKind::EmailRes, {{"name", "Z\xfc" "rich zoo"}, {"email", "zebra@zoo.example"}});
  m_writer.Close();
  std::istringstream in;
  std::ostringstream out, err;
  EXPECT_EQ(RunQmdb({"find", Folder(), "ZEBRA", "--json"}, in, out, err), kExitOk) << err.str();
  EXPECT_EQ(out.str(),
            "{\"kind\": \"textnote\", \"object_address\": 68, \"title\": \"Safari\", \"where\": \"body\", "
            "\"excerpt\": \"the zebra\"}\n"
            "{\"kind\": \"email\", \"object_address\": 68, \"title\": \"Z\xc3\xbcrich zoo\", \"where\": \"email\", "
            "\"excerpt\": \"zebra@zoo.example\"}\n");
  EXPECT_NE(err.str().find("2 hits"), std::string::npos);
  std::ostringstream lines, err2;
  EXPECT_EQ(RunQmdb({"find", "--kind", "email", Folder(), "z\xc3\xbc" "rich", "zoo"}, in, lines, err2), kExitOk);
  EXPECT_EQ(lines.str(), "email\t68\tZ\xc3\xbcrich zoo\tname\tZ\xc3\xbcrich zoo\n");
  std::ostringstream none, usage;
  EXPECT_EQ(RunQmdb({"find", Folder()}, in, none, usage), kExitFailure);
}

}  // namespace
}  // namespace qmsearch
