// Argument handling and the dump and add commands. Stores are used through
// the kind table, so one code path serves all eight kinds.
#include "QmdbCommands.h"

#include <cstring>
#include <memory>

#include "DatabaseCheck.h"
#include "RecordJson.h"
#include "Records/DatabaseObject.h"
#include "Records/MessageBoxSeam.h"

namespace {

struct Options {
  std::string command;
  std::string kindName;
  std::vector<std::string> files;
};

bool ParseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error) {
  if (arguments.empty()) {
    error = "no command given";
    return false;
  }
  options.command = arguments[0];
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--kind") {
      if (i + 1 >= arguments.size()) {
        error = "--kind needs a value";
        return false;
      }
      options.kindName = arguments[++i];
    } else if (argument.compare(0, 7, "--kind=") == 0) {
      options.kindName = argument.substr(7);
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

int Check(const Options& options, std::ostream& out, std::ostream& err) {
  if (options.files.empty()) {
    err << "qmdb: check needs at least one FILE\n";
    return kExitFailure;
  }
  int result = kCheckClean;
  for (const std::string& file : options.files) {
    int fileResult = CheckDatabaseFile(file, out);
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
    out << RecordToJson(*kind, store->RecordBytes(), address, crcOk) << "\n";
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
    if (!RecordFromJson(*kind, line, record, reason)) {
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

}  // namespace

const char* QmdbHelpText() {
  return "qmdb - inspect and fill Quillmate database files (.qmt)\n"
         "\n"
         "Usage:\n"
         "  qmdb check FILE...            verify block headers, record checksums and the\n"
         "                                free-space list; never changes the file\n"
         "  qmdb dump [--kind KIND] FILE  print every live record as one JSON object per\n"
         "                                line, in file order\n"
         "  qmdb add [--kind KIND] FILE   add one record per JSON line read from standard\n"
         "                                input; prints each new object address; creates\n"
         "                                FILE as an empty database when it does not exist\n"
         "  qmdb --help                   this text\n"
         "\n"
         "KIND is textnote, audionote, videonote, photo, timenotif, email, internet or\n"
         "fasttext. Without --kind it comes from the file name: TextNotes.qmt, AudioNotes.qmt,\n"
         "VideoNotes.qmt, PhotoAlbum.qmt, TimeNotif.qmt, EmailRes.qmt, InternetRes.qmt,\n"
         "FastText.qmt (letter case ignored).\n"
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
         "Texts are JSON strings (UTF-8; stored in code page 1252) and are cut to their\n"
         "first 254 characters, as the program cuts them. note_type, type and\n"
         "resource_type are integers. time is \"YYYY-MM-DD HH:MM:SS.mmm\".\n"
         "\n"
         "add: a missing \"date\" gets the current time stamp (hh:mm:ss MM/DD/YYYY); missing\n"
         "fields are empty or 0; \"object_address\" and \"crc_ok\" are ignored, so dump\n"
         "output can be fed back. A malformed line (bad JSON, an unknown field, a value of\n"
         "the wrong type, invalid UTF-8, or a character that code page 1252 cannot\n"
         "represent) is reported on standard error with its line number and adds nothing;\n"
         "the other lines are added. Blank lines are skipped.\n"
         "\n"
         "Exit status: 0 success; 1 check found damage or add met a malformed line;\n"
         "2 usage error, a file that is not a usable database, or a failed write.\n";
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
  if (options.command == "check") {
    if (!options.kindName.empty()) {
      err << "qmdb: check takes no --kind\n";
      return kExitFailure;
    }
    return Check(options, out, err);
  }
  if (options.command == "dump") return Dump(options, out, err);
  if (options.command == "add") return Add(options, in, out, err);
  err << "qmdb: unknown command \"" << options.command << "\"\n" << QmdbHelpText();
  return kExitFailure;
}
