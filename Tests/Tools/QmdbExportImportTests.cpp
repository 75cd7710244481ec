// qmdb import of files that other programs write: what each vCard property
// and bookmark folder becomes, a warning for everything that does not fit,
// duplicates not added twice, and inputs that do not parse (or a store that
// fails half-way) leaving the store byte-identical. What export writes is
// judged by independent parsers in qmdb_export_parsers.py; here only what
// export does with damage and with a folder in the way.
#include <chrono>
#include <string>
#include <vector>

#include "ContentLine.h"
#include "OutputFolder.h"
#include "OutputFolderPlatform.h"
#include "QmdbTestSupport.h"
#include "Records/FileSystemPlatform.h"

namespace qmrecords {
namespace {

class QmdbImportTest : public QmdbTest {
 protected:
  template <class Record>
  std::vector<Record> Stored(const std::string& path) {
    std::vector<Record> records;
    auto store = OpenStore<Record>(path);
    EXPECT_TRUE(store);
    if (!store) return records;
    store->ForEachRecordOf([&](const Record& record, std::uint32_t) { records.push_back(record); });
    CloseStore(store);
    return records;
  }

  std::string Input(const std::string& name, const std::string& text) {
    const std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
};

TEST_F(QmdbImportTest, ForeignVCardsFillTheRecordAndNameWhatItCannotHold) {
  const std::string vcf = Input(
      "contacts.vcf",
      "BEGIN:VCARD\r\n"
      "VERSION:3.0\r\n"
      "N:M\xC3\xBCller;J\xC3\xB6rg;;Dr.;\r\n"  // no FN: the name comes from N
      "ORG:ACME;Research\r\n"
      "item1.EMAIL;TYPE=INTERNET:first@example.com\r\n"
      "EMAIL:second@example.com\r\n"
      "TEL;TYPE=WORK:+49 1\r\n"
      "TEL;VALUE=uri:tel:+49-2\r\n"
      "ADR;TYPE=HOME:PO 7;Floor 2;Hauptstr. 1;K\xC3\xB6ln;NRW;50667;Germany\r\n"
      "ADR:;;Second;;;;\r\n"
      "NOTE:line one\\nline two\\, with \\\\ and \\; es\r\n"
      " caped\r\n"
      "NICKNAME:Jo,J\xC3\xB6rgi\r\n"
      "PHOTO;ENCODING=b;TYPE=JPEG:AAAA\r\n"
      "BDAY:1970-01-01\r\n"
      "END:VCARD\r\n"
      "BEGIN:VCARD\nVERSION:4.0\nFN:Snow \xE2\x98\x83 Man\nORG:" +
          std::string(300, 'o') + "\nEMAIL:snow@example.com\nEND:VCARD\n");
  const std::string store = PathOf("EmailRes.qmt");
  std::string out, err;
  ASSERT_EQ(RunBinary("import " + Quoted(vcf) + " " + Quoted(store), "", out, err), 0) << err;
  EXPECT_NE(out.find("imported 2 email records"), std::string::npos) << out;

  std::vector<DatabaseDataEmailRes> records = Stored<DatabaseDataEmailRes>(store);
  ASSERT_EQ(records.size(), 2u);
  const DatabaseDataEmailRes& first = records[0];
  EXPECT_EQ(RecordTextOf(first.name), "Dr. J\xF6rg M\xFCller");  // code page 1252 in the record
  EXPECT_EQ(RecordTextOf(first.company), "ACME, Research");
  EXPECT_EQ(RecordTextOf(first.email), "first@example.com");
  EXPECT_EQ(RecordTextOf(first.phone), "+49 1, +49-2");
  EXPECT_EQ(RecordTextOf(first.address), "PO 7, Floor 2, Hauptstr. 1");
  EXPECT_EQ(RecordTextOf(first.city), "K\xF6ln");
  EXPECT_EQ(RecordTextOf(first.state), "NRW");
  EXPECT_EQ(RecordTextOf(first.zip), "50667");
  EXPECT_EQ(RecordTextOf(first.comment), "line one\r\nline two, with \\ and ; escaped");
  EXPECT_EQ(RecordTextOf(first.nick), "Jo, J\xF6rgi");
  EXPECT_EQ(RecordTextOf(first.date).size(), 19u);
  for (const char* warning : {"further EMAIL \"second@example.com\" not stored", "country \"Germany\" not stored",
                              "further ADR", "not stored: PHOTO, BDAY"})
    EXPECT_NE(err.find(warning), std::string::npos) << warning << "\n" << err;

  const DatabaseDataEmailRes& second = records[1];
  EXPECT_EQ(RecordTextOf(second.name), "Snow ? Man");
  EXPECT_EQ(RecordTextOf(second.company), std::string(254, 'o'));
  EXPECT_NE(err.find(":17 \"Snow \xE2\x98\x83 Man\": name 1 character not in code page 1252 stored as '?'"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("company cut to 254 characters (300 given)"), std::string::npos) << err;

  // Once more: both are reported as duplicates, the file stays as it is.
  const Bytes before = ReadFileBytes(store);
  ASSERT_EQ(Run({"import", vcf, vcf, store}, "", out, err), 0) << err;
  EXPECT_NE(out.find("imported 0 email records into " + store + ", 4 duplicates not added"), std::string::npos)
      << out;
  EXPECT_NE(err.find("already stored (object 68); not added twice"), std::string::npos) << err;
  EXPECT_EQ(ReadFileBytes(store), before);
}

TEST_F(QmdbImportTest, VCard21EncodingsAreDecodedOrTheirPropertyRefusedWithAWarning) {
  const std::string vcf = Input("old-phone.vcf",
                                "BEGIN:VCARD\r\n"
                                "VERSION:2.1\r\n"
                                "FN;QUOTED-PRINTABLE:=4A=6F=68=6E\r\n"
                                "NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:J=C3=B6rg's first line=0D=0A=\r\n"
                                "second line\r\n"
                                "ORG;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:Caf=E9\r\n"
                                "TEL;BASE64:KzQ5IDE=\r\n"
                                "EMAIL;QUOTED-PRINTABLE:broken=4\r\n"
                                "NICKNAME;ENCODING=QUOTED-PRINTABLE;CHARSET=KOI8-R:=E1\r\n"
                                "END:VCARD\r\n");
  const std::string store = PathOf("EmailRes.qmt");
  std::string out, err;
  ASSERT_EQ(Run({"import", vcf, store}, "", out, err), 0) << err;
  std::vector<DatabaseDataEmailRes> records = Stored<DatabaseDataEmailRes>(store);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(RecordTextOf(records[0].name), "John");
  EXPECT_EQ(RecordTextOf(records[0].comment), "J\xF6rg's first line\r\nsecond line");
  EXPECT_EQ(RecordTextOf(records[0].company), "Caf\xE9");
  EXPECT_EQ(RecordTextOf(records[0].phone), "");
  EXPECT_EQ(RecordTextOf(records[0].email), "");
  EXPECT_EQ(RecordTextOf(records[0].nick), "");
  for (const char* warning : {"TEL not stored: its encoding BASE64 is not read by import",
                              "EMAIL not stored: broken quoted-printable text",
                              "NICKNAME not stored: its quoted-printable text is not in UTF-8 or ISO-8859-1 "
                              "(CHARSET=KOI8-R)"})
    EXPECT_NE(err.find(warning), std::string::npos) << warning << "\n" << err;
}

TEST_F(QmdbImportTest, HostileInputsCostLinearTimeAndGiveShortWarnings) {
  // What one card can carry is bounded by what the record can hold.
  std::string card = "BEGIN:VCARD\nFN:" + std::string(2 * 1024 * 1024, 'n') + "\nEMAIL:a@example.com\n";
  for (int i = 0; i < 100000; ++i) card += "TEL:+" + std::to_string(i) + "\nNOTE:note " + std::to_string(i) + "\n";
  for (int i = 0; i < 100; ++i) card += "X-FIELD-" + std::to_string(i) + ":x\nEMAIL:more@example.com\n";
  card += "END:VCARD\n";
  const std::string head = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";
  const std::string bookmarks = head + "<DT><A HREF=\"http://x/" + std::string(3 * 1024 * 1024, '&') +
                                "\">Ampersands " + std::string(1024 * 1024, '&') +
                                "</A>\n<DT><A HREF=\"http://y/\">a < b &amp; c <3</A>\n</DL>\n";
  std::string out, err;
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(Run({"import", Input("huge.vcf", card), PathOf("EmailRes.qmt")}, "", out, err), 0) << err.substr(0, 2000);
  const std::string cardWarnings = err;
  ASSERT_EQ(Run({"import", Input("amp.html", bookmarks), PathOf("InternetRes.qmt")}, "", out, err), 0)
      << err.substr(0, 2000);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // Quadratic, they took minutes (the card) and hours (the 3 MB address); the
  // bound leaves room for a loaded machine and the sanitizers.
  EXPECT_LT(seconds, 60.0) << "both imports are linear in their input";

  std::vector<DatabaseDataEmailRes> contacts = Stored<DatabaseDataEmailRes>(PathOf("EmailRes.qmt"));
  ASSERT_EQ(contacts.size(), 1u);
  EXPECT_EQ(RecordTextOf(contacts[0].phone).substr(0, 12), "+0, +1, +2, ");
  EXPECT_EQ(RecordTextOf(contacts[0].comment).substr(0, 14), "note 0\r\nnote 1");
  for (const char* warning : {"further TEL values not read: the field is full",
                              "further NOTE values not read: the field is full", "more warnings"})
    EXPECT_NE(cardWarnings.find(warning), std::string::npos) << warning;
  for (const std::string& line : Lines(cardWarnings + err)) EXPECT_LE(line.size(), 600u) << line.substr(0, 200);

  std::vector<DatabaseDataInternetRes> sites = Stored<DatabaseDataInternetRes>(PathOf("InternetRes.qmt"));
  ASSERT_EQ(sites.size(), 2u);
  EXPECT_EQ(RecordTextOf(sites[0].title), "Ampersands " + std::string(243, '&'));
  EXPECT_EQ(RecordTextOf(sites[1].title), "a < b & c <3") << "a '<' that starts no tag is text";
}

TEST_F(QmdbImportTest, BookmarkFoldersGiveTheCategoryAndEverythingElseIsOthers) {
  const std::string html = Input(
      "bookmarks.html",
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<!-- a <DL> in a comment -->\n"
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n"
      "<H1>Bookmarks Menu</H1>\n<DL><p>\n"
      "  <DT><A HREF=\"http://top.example/\" ADD_DATE=\"1\">Top   level</A>\n"
      "  <DT><H3 ADD_DATE=\"2\">Bookmarks Toolbar</H3>\n  <DL><p>\n"
      "    <DT><H3>Personal</H3>\n    <DL><p>\n"
      "      <DT><A HREF='http://a.example/?x=1&amp;y=2' TAGS=\"home\">Caf&eacute; &amp; <b>Bar</b> &#233;&#x20AC;</A>\n"
      "      <DD>my favourite\n"
      "    </DL><p>\n"
      "    <DT><H3>SHOPPING</H3>\n    <DL><p>\n"
      "      <DT><H3>Deep</H3>\n      <DL><p>\n        <DT><A HREF=\"http://deep.example/\">Deep</A>\n      </DL><p>\n"
      "      <DT><A HREF=\"http://shop.example/\">Shop</A>\n"
      "    </DL><p>\n"
      "    <DT><H3>Bussines</H3>\n    <DL><p>\n      <DT><A HREF=\"http://b.example/\">B</A>\n    </DL><p>\n"
      "  </DL><p>\n</DL><p>\n");
  std::string out, err;
  ASSERT_EQ(Run({"import", html, folder_.Path().string()}, "", out, err), 0) << err;
  std::vector<DatabaseDataInternetRes> records = Stored<DatabaseDataInternetRes>(PathOf("InternetRes.qmt"));
  ASSERT_EQ(records.size(), 5u);
  const std::vector<std::pair<std::string, std::int32_t>> expected = {
      {"Top level", 5}, {"Caf&eacute; & Bar \xE9\x80", 0}, {"Deep", 5}, {"Shop", 4}, {"B", 1}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(RecordTextOf(records[i].title), expected[i].first) << i;
    EXPECT_EQ(records[i].resourceType, expected[i].second) << i;
  }
  EXPECT_EQ(RecordTextOf(records[1].address), "http://a.example/?x=1&y=2");
  EXPECT_NE(err.find("TAGS \"home\" not stored"), std::string::npos) << err;
  EXPECT_NE(err.find("description \"my favourite\" not stored"), std::string::npos) << err;
}

TEST_F(QmdbImportTest, AnInputThatDoesNotParseOrAFailedWriteLeavesTheStoreAsItWas) {
  const std::string store = PathOf("EmailRes.qmt");
  std::string out, err;
  ASSERT_EQ(Run({"import", Input("one.vcf", "BEGIN:VCARD\nFN:One\nEND:VCARD\n"), store}, "", out, err), 0);
  const Bytes before = ReadFileBytes(store);
  const std::string good = "BEGIN:VCARD\nFN:Two\nEND:VCARD\n";
  const std::vector<std::string> badCards = {
      good + "BEGIN:VCARD\nFN:Three\n",                          // no END
      good + "BEGIN:VCARD\nFN Three\nEND:VCARD\n",               // no colon
      good + "FN:Outside\n",                                     // outside a card
      good + "BEGIN:VCARD\nBEGIN:VCARD\nEND:VCARD\n",            // nested
      "BEGIN:VCARD\nFN:J\xF6rg\nEND:VCARD\n",                    // not UTF-8
      "",                                                        // no card at all
  };
  for (const std::string& text : badCards) {
    // The good file comes first: nothing of it may be written either.
    EXPECT_EQ(Run({"import", Input("good.vcf", good), Input("bad.vcf", text), store}, "", out, err), 1) << text;
    EXPECT_NE(err.find("nothing imported"), std::string::npos) << err;
    EXPECT_EQ(ReadFileBytes(store), before) << text;
  }
  const std::string head = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";
  for (const std::string& text : {std::string("<html><DL><p></DL>"), head + "<DT><A>no href</A>\n</DL>",
                                  head + "<DT><A HREF=\"x\">open\n</DL>", head + "</DL></DL>", head,
                                  head + "<!-- open comment", head + "<DT><A HREF=\"x>\n"}) {
    EXPECT_EQ(Run({"import", Input("bad.html", text), folder_.Path().string()}, "", out, err), 1) << text;
    EXPECT_TRUE(PlatformPathIsAbsent(PathOf("InternetRes.qmt"))) << "no store is created for a bad input";
  }

  // The store fails half-way through the import: its bytes are put back.
  const std::string two = Input("two.vcf", good + "BEGIN:VCARD\nFN:Three\nEND:VCARD\n");
  gxInjectFault(gxFaultOp::Write, 3, true);  // the second record's block
  EXPECT_EQ(Run({"import", two, store}, "", out, err), 2);
  gxClearFaults();
  EXPECT_NE(err.find("nothing imported (the file is as it was)"), std::string::npos) << err;
  EXPECT_EQ(ReadFileBytes(store), before);
  EXPECT_EQ(Run({"import", two, store}, "", out, err), 0) << err;
  EXPECT_EQ(Stored<DatabaseDataEmailRes>(store).size(), 3u);
}

TEST_F(QmdbImportTest, ContentLinesFoldWithoutSplittingCharactersAndFileNamesAreSafe) {
  std::string out;
  const std::string text = std::string(68, 'a') + "\xE2\x82\xAC\xE2\x82\xAC;,\\\r\n" + std::string(200, 'b');
  AppendContentLine(out, "NOTE", EscapeContentText(text));
  std::vector<ContentLine> lines;
  std::string error;
  ASSERT_TRUE(ParseContentLines(out, lines, error)) << error;
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(UnescapeContentText(lines[0].value), text);
  EXPECT_EQ(out.substr(0, 75), "NOTE:" + std::string(68, 'a') + "\r\n") << "the euro sign does not fit: folded before it";
  for (std::size_t start = 0; start < out.size();) {
    const std::size_t end = out.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LE(end - start, 75u);
    if (start > 0) {
      EXPECT_EQ(out[start], ' ');
      EXPECT_NE(static_cast<unsigned char>(out[start + 1]) & 0xC0, 0x80) << "a fold inside a character";
    }
    start = end + 2;
  }

  EXPECT_EQ(SafeFileStem("a<b>c:d\"e/f\\g|h?i*j\tk"), "a_b_c_d_e_f_g_h_i_j_k");
  EXPECT_EQ(SafeFileStem("  Notes...  "), "Notes");
  EXPECT_EQ(SafeFileStem(" . "), "Untitled");
  EXPECT_EQ(SafeFileStem("lpt1"), "lpt1_");
  // Windows opens a device for the part before the first dot: the mark
  // goes there, or the export would write into the device.
  const std::vector<std::pair<std::string, std::string>> devices = {
      {"nul.txt", "nul_.txt"},          {"nul .txt", "nul_ .txt"},        {"COM0", "COM0_"},
      {"lpt0.x.y", "lpt0_.x.y"},        {"COM\xC2\xB9", "COM\xC2\xB9_"}, {"lpt\xC2\xB3.doc", "lpt\xC2\xB3_.doc"},
      {"COM10", "COM10"},               {"nully.txt", "nully.txt"},       {"COM\xC2\xB4", "COM\xC2\xB4"}};
  for (const auto& device : devices) EXPECT_EQ(SafeFileStem(device.first), device.second) << device.first;
  EXPECT_EQ(SafeFileStem(std::string(99, 'x') + "\xC3\xA9z"), std::string(99, 'x'));
  OutputFolder folder(PathOf("out"));
  EXPECT_EQ(folder.ClaimName("\xC3\x89t\xC3\xA9", "rtf"), "\xC3\x89t\xC3\xA9.rtf");
  EXPECT_EQ(folder.ClaimName("\xC3\xA9T\xC3\x89", "RTF"), "\xC3\xA9T\xC3\x89 (2).RTF");
  EXPECT_EQ(folder.ClaimName("\xC3\xA9t\xC3\xA9", "rtf"), "\xC3\xA9t\xC3\xA9 (3).rtf");
  EXPECT_EQ(folder.ClaimName("x", ""), "x");
  // Letters of the other code pages: Greek (1253) with accents and final
  // sigma, Vietnamese (1258) horned letters, Turkish dotless i, Ukrainian ghe.
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"\xCE\xAC\xCE\xBB\xCF\x86\xCE\xB1", "\xCE\x86\xCE\x9B\xCE\xA6\xCE\x91"},  // alpha with tonos
      {"\xCF\x8C\xCF\x8A\xCF\x82", "\xCE\x8C\xCE\xAA\xCE\xA3"},                  // omicron tonos, iota dialytika, final sigma
      {"\xC6\xA1\xC6\xB0", "\xC6\xA0\xC6\xAF"},                                      // o and u with horn
      {"\xC4\xB1", "I"},
      {"\xD2\x91", "\xD2\x90"},
      {"\xC2\xB5", "\xCE\x9C"}};
  for (const auto& pair : pairs) {
    EXPECT_EQ(folder.ClaimName(pair.first, "txt"), pair.first + ".txt");
    EXPECT_EQ(folder.ClaimName(pair.second, "txt"), pair.second + " (2).txt") << pair.first;
  }
  EXPECT_EQ(folder.ClaimName("q", "jpg "), "q.jpg");
  EXPECT_EQ(folder.ClaimName("q", "JPG."), "q (2).JPG");
}

TEST_F(QmdbImportTest, ExportedFilesAreTheOnesTheIndexNamesNeverADeviceOrOneFileTwice) {
  // A note titled as a device, and two photos of one title whose stored
  // names differ only by a trailing blank, which Windows ignores.
  std::string out, err;
  ASSERT_EQ(Run({"add", PathOf("TextNotes.qmt")}, "{\"title\": \"nul.txt\", \"file_name\": \"n.doc\"}\n", out, err), 0)
      << err;
  ASSERT_EQ(Run({"add", PathOf("PhotoAlbum.qmt")},
                "{\"title\": \"Trip\", \"file_name\": \"a.jpg \"}\n{\"title\": \"trip\", \"file_name\": \"b.jpg\"}\n", out,
                err),
            0)
      << err;
  ASSERT_TRUE(PlatformMakeFolder(PathOf("TextNotes")) && PlatformMakeFolder(PathOf("PhotoAlbum")));
  std::ofstream(PathOf("TextNotes/n.doc"), std::ios::binary) << "{\\rtf1 note}";
  std::ofstream(PathOf("PhotoAlbum/a.jpg "), std::ios::binary) << "first photo";
  std::ofstream(PathOf("PhotoAlbum/b.jpg"), std::ios::binary) << "second photo";
  const std::string target = PathOf("export");
  ASSERT_EQ(Run({"export", folder_.Path().string(), target}, "", out, err), kExitOk) << err;
  const std::vector<std::string> index = Lines(ReadFileText(target + "/index.jsonl"));
  ASSERT_EQ(index.size(), 3u);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"TextNotes/nul_.txt.rtf", "{\\rtf1 note}"},
      {"PhotoAlbum/Trip.jpg", "first photo"},
      {"PhotoAlbum/trip (2).jpg", "second photo"}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_NE(index[i].find("\"file\": \"" + expected[i].first + "\""), std::string::npos) << index[i];
    EXPECT_EQ(ReadFileText(target + "/" + expected[i].first), expected[i].second) << expected[i].first;
  }
}

TEST_F(QmdbImportTest, StandardFormatsCarryNoControlCharactersAndNoGuessedCharacters) {
  {
    auto store = OpenStore<DatabaseDataEmailRes>(PathOf("EmailRes.qmt"));
    ASSERT_TRUE(store);
    CopyRecordText(store->Data().name, "Jo\x01" "e");
    CopyRecordText(store->Data().comment, "caf\x81\x1B[2J");  // 0x81: undefined in 1252
    ASSERT_NE(store->AddRecord(), 0u);
    ASSERT_TRUE(CloseStore(store));
  }
  {
    auto store = OpenStore<DatabaseDataTimeNotif>(PathOf("TimeNotif.qmt"));
    ASSERT_TRUE(store);
    CopyRecordText(store->Data().title, "Bell\x07");
    CopyRecordText(store->Data().text, "tab\tkept\x7F");
    store->Data().time = RecordTime{2030, 1, 0, 2, 9, 30, 0, 0};
    ASSERT_NE(store->AddRecord(), 0u);
    ASSERT_TRUE(CloseStore(store));
  }
  const std::string target = PathOf("export");
  std::string out, err;
  ASSERT_EQ(Run({"export", folder_.Path().string(), target}, "", out, err), kExitOk) << err;
  const std::string vcf = ReadFileText(target + "/EmailRes.vcf");
  const std::string ics = ReadFileText(target + "/TimeNotif.ics");
  for (const std::string& text : {vcf, ics}) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      const bool lineEnd = c == '\r' || (c == '\n' && i > 0 && text[i - 1] == '\r');
      EXPECT_TRUE(c >= 0x20 ? c != 0x7F : c == '\t' || lineEnd) << "control character " << int(c) << " at " << i;
    }
  }
  EXPECT_NE(vcf.find("FN:Joe\r\n"), std::string::npos) << vcf;
  EXPECT_NE(vcf.find("NOTE:caf\xEF\xBF\xBD[2J\r\n"), std::string::npos) << "U+FFFD, not U+0081\n" << vcf;
  EXPECT_NE(ics.find("SUMMARY:Bell\r\n"), std::string::npos) << ics;
  EXPECT_NE(ics.find("DESCRIPTION:tab\tkept\r\n"), std::string::npos) << ics;
  for (const char* warning : {"e\" (object 68): 2 control characters left out",
                              "e\" (object 68): 1 byte that code page 1252 leaves undefined exported as U+FFFD",
                              "timenotif \"Bell\x07\" (object 68): 2 control characters left out"})
    EXPECT_NE(err.find(warning), std::string::npos) << warning << "\n" << err;

  // dump keeps every byte, so that its lines can be added back.
  EXPECT_EQ(Run({"dump", PathOf("EmailRes.qmt")}, "", out, err), kExitOk);
  EXPECT_NE(out.find("caf\xC2\x81\\u001b[2J"), std::string::npos) << out;
}

TEST_F(QmdbImportTest, ExportGivesOutDamagedRecordsAsReadAndNeverWritesIntoAFullFolder) {
  const std::string notes = MakeNotes();  // A, B, C, D naming attachments that do not exist
  Bytes bytes = ReadFileBytes(notes);
  bytes[845 + 28 + 255 + 1] = 'X';  // B's title becomes "BX"
  WriteFileBytes(notes, bytes);
  {
    auto store = OpenStore<DatabaseDataInternetRes>(PathOf("InternetRes.qmt"));
    ASSERT_TRUE(store);
    CopyRecordText(store->Data().title, "Site");
    CopyRecordText(store->Data().address, "http://site.example/");
    store->AddRecord();
    ASSERT_TRUE(CloseStore(store));
  }
  const std::string out = PathOf("export");
  std::string report, err;
  EXPECT_EQ(Run({"export", folder_.Path().string(), out}, "", report, err), kExitDamaged);
  EXPECT_NE(err.find("textnote \"BX\" (object 873): checksum mismatch; exported as read"), std::string::npos) << err;
  EXPECT_NE(report.find("textnote: 0 of 4 records exported to TextNotes/"), std::string::npos) << report;
  EXPECT_NE(report.find("internet: 1 of 1 records exported to InternetRes.html"), std::string::npos) << report;
  std::vector<std::string> index = Lines(ReadFileText(out + "/index.jsonl"));
  ASSERT_EQ(index.size(), 5u);
  EXPECT_EQ(index[1].find("{\"kind\": \"textnote\", \"file\": null, \"object_address\": 873, \"crc_ok\": false"), 0u)
      << index[1];
  EXPECT_EQ(ReadFileBytes(notes), bytes) << "export only reads";

  // A second export into the same folder would mix two exports: refused.
  const std::string index1 = ReadFileText(out + "/index.jsonl");
  EXPECT_EQ(Run({"export", folder_.Path().string(), out}, "", report, err), kExitFailure);
  EXPECT_NE(err.find("is not empty"), std::string::npos) << err;
  EXPECT_EQ(ReadFileText(out + "/index.jsonl"), index1);
  EXPECT_EQ(Run({"export", PathOf("nowhere"), PathOf("out2")}, "", report, err), kExitFailure);
  EXPECT_NE(err.find("holds no Quillmate data files"), std::string::npos) << err;
  EXPECT_EQ(Run({"export", "--codepage", "932", folder_.Path().string(), PathOf("out3")}, "", report, err),
            kExitFailure)
      << "a double-byte code page is refused";

  EXPECT_EQ(Run({"--help"}, "", report, err), kExitOk);
  for (const char* text : {"qmdb export", "qmdb import", "qmdb salvage", "--keep-damaged", "--codepage",
                           "\"Bussines\"", "index.jsonl", "PRIORITY 1"})
    EXPECT_NE(report.find(text), std::string::npos) << text;
}

}  // namespace
}  // namespace qmrecords
