// Argument handling and the dump and add commands. Stores are used through
// the kind table, so one code path serves all eight kinds.
#include "QmdbCommands.h"

#include <cstring>
#include <memory>

#include "DataExport.h"
#include "DataImport.h"
#include "DatabaseCheck.h"
#include "RecordJson.h"
#include "RunningProgram.h"
#include "Salvage.h"
#include "Records/DatabaseObject.h"
#include "Records/MessageBoxSeam.h"

namespace {

struct Options {
  std::string command;
  std::string kindName;
  const CodePage* codePage = &CodePage::Windows1252();
  bool keepDamaged = false;
  std::vector<std::string> files;
};

// "--name value" or "--name=value"; advances i past the value.
bool TakeValue(const std::vector<std::string>& arguments, std::size_t& i, const std::string& name,
               std::string& value, bool& matched, std::string& error) {
  const std::string& argument = arguments[i];
  matched = false;
  if (argument == name) {
    matched = true;
    if (i + 1 >= arguments.size()) {
      error = name + " needs a value";
      return false;
    }
    value = arguments[++i];
  } else if (argument.compare(0, name.size() + 1, name + "=") == 0) {
    matched = true;
    value = argument.substr(name.size() + 1);
  }
  return true;
}

bool ParseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error) {
  if (arguments.empty()) {
    error = "no command given";
    return false;
  }
  options.command = arguments[0];
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    bool matched = false;
    std::string value;
    if (!TakeValue(arguments, i, "--kind", options.kindName, matched, error)) return false;
    if (matched) continue;
    if (!TakeValue(arguments, i, "--codepage", value, matched, error)) return false;
    if (matched) {
      const bool digits = !value.empty() && value.size() <= 5 && value.find_first_not_of("0123456789") == std::string::npos;
      options.codePage = digits ? CodePage::Find(std::stoi(value)) : nullptr;
      if (options.codePage == nullptr) {
        error = "--codepage " + value + " is not a single-byte Windows code page (874, 1250 to 1258)";
        return false;
      }
      continue;
    }
    if (argument == "--keep-damaged") {
      options.keepDamaged = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      error = "unknown option " + argument;
      return false;
    } else {
      options.files.push_back(argument);
    }
  }
  return true;
}

const RecordKindInfo* KindFor(const Options& options, const std::string& file, std::ostream& err) {
  if (!options.kindName.empty()) {
    const RecordKindInfo* kind = FindRecordKindByToolName(options.kindName);
    if (kind == nullptr) err << "qmdb: unknown kind \"" << options.kindName << "\"\n";
    return kind;
  }
  const RecordKindInfo* kind = FindRecordKindByFileName(file);
  if (kind == nullptr) err << "qmdb: cannot tell the kind of " << file << " from its name; use --kind\n";
  return kind;
}

// "X.qmt" -> "X-repaired.qmt" beside it.
std::string RepairedPathFor(const std::string& file) {
  std::string stem = file;
  if (stem.size() > 4 && (stem.compare(stem.size() - 4, 4, ".qmt") == 0 || stem.compare(stem.size() - 4, 4, ".QMT") == 0))
    stem.resize(stem.size() - 4);
  return stem + "-repaired.qmt";
}

// The kind that --kind names, or null without it; false (reported) for a
// name that is no kind.
bool OptionalKind(const Options& options, const RecordKindInfo*& kind, std::ostream& err) {
  kind = nullptr;
  if (options.kindName.empty()) return true;
  kind = FindRecordKindByToolName(options.kindName);
  if (kind == nullptr) err << "qmdb: unknown kind \"" << options.kindName << "\"\n";
  return kind != nullptr;
}

int Check(const Options& options, std::ostream& out, std::ostream& err) {
  if (options.files.empty()) {
    err << "qmdb: check needs at least one FILE\n";
    return kExitFailure;
  }
  const RecordKindInfo* kind = nullptr;
  if (!OptionalKind(options, kind, err)) return kExitFailure;
  int result = kCheckClean;
  for (const std::string& file : options.files) {
    int fileResult = CheckDatabaseFile(file, out, kind);
    if (fileResult == kCheckDamaged) {
      err << "qmdb: " << file << " is damaged; copy what is intact into a new file with\n"
          << "  qmdb salvage \"" << file << "\" \"" << RepairedPathFor(file) << "\"\n";
    }
    if (fileResult > result) result = fileResult;
  }
  return result;
}

int Dump(const Options& options, std::ostream& out, std::ostream& err) {
  if (options.files.size() != 1) {
    err << "qmdb: dump needs exactly one FILE\n";
    return kExitFailure;
  }
  const std::string& file = options.files[0];
  const RecordKindInfo* kind = KindFor(options, file, err);
  if (kind == nullptr) return kExitFailure;
  std::unique_ptr<RecordStore> store = MakeRecordStore(kind->kind);
  int error = store->Open(file.c_str(), 0);
  if (error != gxNoError || !store->IsReady()) {
    err << "qmdb: " << file << ": " << gxDatabase::ErrorText(error) << "\n";
    return kExitFailure;
  }
  // CRC mismatches are reported in the output, not in boxes.
  ScopedMessageBoxScript quiet([](void*, const char*, const char*, unsigned) { return kIdOk; });
  store->ForEachRecord([&](std::uint32_t address) {
    bool crcOk = store->VerifyChecksum(address);
    out << RecordToJson(*kind, store->RecordBytes(), address, crcOk, *options.codePage) << "\n";
  });
  store->Close();
  return kExitOk;
}

int Add(const Options& options, std::istream& in, std::ostream& out, std::ostream& err) {
  if (options.files.size() != 1) {
    err << "qmdb: add needs exactly one FILE\n";
    return kExitFailure;
  }
  const std::string& file = options.files[0];
  const RecordKindInfo* kind = KindFor(options, file, err);
  if (kind == nullptr) return kExitFailure;
  std::string foreign;
  if (!HoldsOnlyKind(file, *kind, foreign)) {
    err << "qmdb: " << file << ": " << foreign << "; it holds another kind of record, nothing added\n";
    return kExitFailure;
  }
  std::unique_ptr<RecordStore> store = MakeRecordStore(kind->kind);
  int error = OpenOrCreateStoreFile(*store, file);
  if (error != gxNoError || !store->IsReady()) {
    err << "qmdb: " << file << ": " << gxDatabase::ErrorText(error) << "\n";
    return kExitFailure;
  }
  int result = kExitOk;
  std::string line;
  for (long lineNumber = 1; std::getline(in, line); ++lineNumber) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    unsigned char* record = store->RecordBytes();
    std::memset(record, 0, kind->recordSize);
    std::string reason;
    if (!RecordFromJson(*kind, line, record, reason, *options.codePage)) {
      err << "qmdb: line " << lineNumber << ": malformed: " << reason << "\n";
      result = kExitDamaged;
      continue;
    }
    std::uint32_t address = store->AddRecord();
    if (address == 0) {
      err << "qmdb: line " << lineNumber << ": not added: " << gxDatabase::ErrorText(store->LastError())
          << "\n";
      store->Close();
      return kExitFailure;
    }
    out << address << "\n";
  }
  if (store->Close() != gxNoError) {
    err << "qmdb: " << file << ": " << gxDatabase::ErrorText(store->LastError()) << "\n";
    return kExitFailure;
  }
  return result;
}

int Export(const Options& options, std::ostream& out, std::ostream& err) {
  if (options.files.size() != 2) {
    err << "qmdb: export needs a DATAFOLDER and an OUTFOLDER\n";
    return kExitFailure;
  }
  ExportRequest request;
  request.dataFolder = options.files[0];
  request.outFolder = options.files[1];
  request.codePage = options.codePage;
  if (!OptionalKind(options, request.kind, err)) return kExitFailure;
  return ExportDataFolder(request, out, err);
}

int Import(const Options& options, std::ostream& out, std::ostream& err) {
  if (options.files.size() < 2) {
    err << "qmdb: import needs at least one FILE and a TARGET (a .qmt file or a data folder)\n";
    return kExitFailure;
  }
  ImportRequest request;
  request.inputs.assign(options.files.begin(), options.files.end() - 1);
  request.target = options.files.back();
  request.codePage = options.codePage;
  if (!OptionalKind(options, request.kind, err)) return kExitFailure;
  return ImportFiles(request, out, err);
}

int Salvage(const Options& options, std::ostream& out, std::ostream& err) {
  if (options.files.size() != 2) {
    err << "qmdb: salvage needs DAMAGED.qmt and REPAIRED.qmt\n";
    return kExitFailure;
  }
  SalvageRequest request;
  request.damagedPath = options.files[0];
  request.repairedPath = options.files[1];
  request.kind = KindFor(options, request.damagedPath, err);
  if (request.kind == nullptr) return kExitFailure;
  request.keepDamaged = options.keepDamaged;
  request.codePage = options.codePage;
  return SalvageDatabase(request, out, err);
}

}  // namespace

const char* QmdbHelpText() {
  return "qmdb - inspect, fill, export, import and salvage Quillmate data files\n"
         "\n"
         "Usage:\n"
         "  qmdb check [--kind KIND] FILE...\n"
         "                                verify block headers, record checksums and the\n"
         "                                free-space list; never changes the file; names\n"
         "                                the salvage command when a file is damaged;\n"
         "                                with --kind, a record block of another length\n"
         "                                (another kind's record) is damage too\n"
         "  qmdb dump [--kind KIND] FILE  print every live record as one JSON object per\n"
         "                                line, in file order\n"
         "  qmdb add [--kind KIND] FILE   add one record per JSON line read from standard\n"
         "                                input; prints each new object address; creates\n"
         "                                FILE as an empty database when it does not exist\n"
         "  qmdb export [--kind KIND] DATAFOLDER OUTFOLDER\n"
         "                                write every record (of one kind with --kind) in\n"
         "                                the standard format of its kind, see below\n"
         "  qmdb import [--kind email|internet] FILE... TARGET\n"
         "                                add the contacts of vCard files (.vcf) as e-mail\n"
         "                                resources, or the bookmarks of an HTML bookmarks\n"
         "                                file (.html) as internet resources; TARGET is a\n"
         "                                .qmt file or a data folder\n"
         "  qmdb salvage [--kind KIND] [--keep-damaged] DAMAGED.qmt REPAIRED.qmt\n"
         "                                copy every record that passes its check into a\n"
         "                                new file; never writes DAMAGED.qmt\n"
         "  qmdb --help                   this text\n"
         "\n"
         "KIND is textnote, audionote, videonote, photo, timenotif, email, internet or\n"
         "fasttext. Without --kind it comes from the file name: TextNotes.qmt, AudioNotes.qmt,\n"
         "VideoNotes.qmt, PhotoAlbum.qmt, TimeNotif.qmt, EmailRes.qmt, InternetRes.qmt,\n"
         "FastText.qmt (letter case ignored).\n"
         "\n"
         "--codepage N (every command): the Windows code page the records' texts are in:\n"
         "874 or 1250 to 1258; 1252 when not given. Records hold the ANSI code page of the\n"
         "machine that wrote them; qmdb reads and writes UTF-8.\n"
         "\n"
         "Fields per kind (dump puts \"object_address\", the record's handle in the file,\n"
         "and \"crc_ok\" in front; the handle is not called \"address\" because e-mail\n"
         "and internet records have an address field):\n"
         "  textnote, audionote, videonote: date, title, note_type, file_name\n"
         "  photo:     date, title, comment, file_name\n"
         "  timenotif: date, title, text, type, time\n"
         "  email:     date, name, company, address, city, zip, state, phone, nick,\n"
         "             comment, email\n"
         "  internet:  date, title, address, resource_type\n"
         "  fasttext:  date, title, file_name\n"
         "Texts are JSON strings (UTF-8; stored in the code page) and are cut to their\n"
         "first 254 characters, as the program cuts them. note_type, type and\n"
         "resource_type are integers. time is \"YYYY-MM-DD HH:MM:SS.mmm\".\n"
         "\n"
         "add: a missing \"date\" gets the current time stamp (hh:mm:ss MM/DD/YYYY); missing\n"
         "fields are empty or 0; \"object_address\" and \"crc_ok\" are ignored, so dump\n"
         "output can be fed back. A malformed line (bad JSON, an unknown field, a value of\n"
         "the wrong type, invalid UTF-8, or a character that the code page cannot\n"
         "represent) is reported on standard error with its line number and adds nothing;\n"
         "the other lines are added. Blank lines are skipped. add and import refuse a\n"
         "file that holds records of another kind.\n"
         "\n"
         "export: OUTFOLDER is created when missing and must be empty. It receives\n"
         "  EmailRes.vcf       vCard 4.0: FN, ORG, ADR (street, city, region, postal\n"
         "                     code), TEL, NICKNAME, NOTE, EMAIL\n"
         "  InternetRes.html   browser bookmarks, one folder per category: \"Personal\",\n"
         "                     \"Bussines\", \"Funny\", \"News\", \"Shopping\", \"Others\"\n"
         "  TimeNotif.ics      iCalendar: a VEVENT at the notification's local time with\n"
         "                     a display VALARM; urgent ones have PRIORITY 1\n"
         "  TextNotes/, AudioNotes/, VideoNotes/, PhotoAlbum/\n"
         "                     the attachments (.rtf, .wav, .avi, the photo's extension)\n"
         "  FastText/          the fast texts as UTF-8 text files (.txt)\n"
         "  index.jsonl        one line per record: \"kind\", \"file\" (null when nothing\n"
         "                     was written for it) and the record as dump writes it\n"
         "Attachment files are named after the record titles, with characters that file\n"
         "names cannot hold replaced by '_' and \" (2)\", \" (3)\"... on a collision. Missing\n"
         "attachments, damaged records (exported as read) and notification times that are\n"
         "no date are reported on standard error; the rest is exported.\n"
         "\n"
         "import: every input is read before the store is touched; an input that does not\n"
         "parse imports nothing and leaves the store as it was. Texts longer than their\n"
         "field are cut to 254 characters, characters the code page lacks become '?',\n"
         "and vCard properties without a place in the record are named, one warning each.\n"
         "A record equal to a stored one in every field but the date is reported as a\n"
         "duplicate and not added twice. Bookmark folders named as the categories above\n"
         "(letter case ignored) give that category; every other folder gives \"Others\".\n"
         "\n"
         "salvage: REPAIRED.qmt must not exist. Intact records are copied in file order;\n"
         "a record whose checksum fails goes to REPAIRED.damaged.jsonl (as dump writes\n"
         "it, so add can take it back) and, with --keep-damaged, into REPAIRED.qmt too.\n"
         "A record whose block header alone is damaged but whose checksum is right is\n"
         "saved. The report names every record or stretch of bytes that was not saved.\n"
         "\n"
         "add and import refuse to run while Quillmate runs (it may write the same file\n"
         "at any moment); check, dump, export and salvage only read the stores.\n"
         "\n"
         "Exit status: 0 success; 1 check found damage, add met a malformed line, export\n"
         "skipped something, import met an input that does not parse, or salvage could\n"
         "not save everything; 2 usage error, a file that is not a usable database, or a\n"
         "failed write; 3 add or import while Quillmate runs (nothing written).\n";
}

int RunQmdb(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
            std::ostream& err) {
  if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help")) {
    out << QmdbHelpText();
    return kExitOk;
  }
  Options options;
  std::string error;
  if (!ParseOptions(arguments, options, error)) {
    err << "qmdb: " << error << "\n" << QmdbHelpText();
    return kExitFailure;
  }
  if (options.command == "check") return Check(options, out, err);
  if (options.keepDamaged && options.command != "salvage") {
    err << "qmdb: --keep-damaged belongs to salvage\n";
    return kExitFailure;
  }
  if (options.command == "dump") return Dump(options, out, err);
  if (options.command == "export") return Export(options, out, err);
  if ((options.command == "add" || options.command == "import") && QuillmateIsRunning()) {
    err << "qmdb: Quillmate is running; " << options.command
        << " changes nothing while it runs, because the program may write the same file at any moment.\n"
           "End Quillmate (Exit in its tray menu) and run the command again.\n";
    return kExitProgramRunning;
  }
  if (options.command == "add") return Add(options, in, out, err);
  if (options.command == "import") return Import(options, out, err);
  if (options.command == "salvage") return Salvage(options, out, err);
  err << "qmdb: unknown command \"" << options.command << "\"\n" << QmdbHelpText();
  return kExitFailure;
}
