// The store is written once, after every input parsed; should a write fail
// half-way, the file's bytes as they were before are put back in place,
// never by truncating it first (or the file created for the import is
// removed).
#include "DataImport.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "BookmarkFile.h"
#include "DatabaseCheck.h"
#include "ImportedRecord.h"
#include "RecordFields.h"
#include "Records/DatabaseObject.h"
#include "Records/FileSystemPlatform.h"
#include "Records/RecordText.h"
#include "Records/TimeStamp.h"
#include "StoredRecords.h"
#include "VCard.h"
#include "WholeFile.h"

namespace {

using Reader = bool (*)(const std::string&, std::vector<ImportedRecord>&, std::string&);

// The kinds import fills and the format each reads.
struct ImportForm {
  RecordKind kind;
  Reader reader;
  const char* extensions[2];  // of input files, lower case
};

const ImportForm kImportForms[] = {
    {RecordKind::EmailRes, ReadVCards, {".vcf", ".vcard"}},
    {RecordKind::InternetRes, ReadBookmarkFile, {".html", ".htm"}},
};

std::string LowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 0x20 : c);
  return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && LowerCase(text.substr(text.size() - end.size())) == end;
}

const ImportForm* FormOf(RecordKind kind) {
  for (const ImportForm& form : kImportForms) {
    if (form.kind == kind) return &form;
  }
  return nullptr;
}

const ImportForm* FormOfInput(const std::string& path) {
  for (const ImportForm& form : kImportForms) {
    for (const char* extension : form.extensions) {
      if (EndsWith(path, extension)) return &form;
    }
  }
  return nullptr;
}

// Every field but the date: what makes two records the same entry.
std::string DuplicateKey(const RecordKindInfo& kind, const unsigned char* record) {
  std::string key;
  for (std::size_t i = 0; i < kind.fieldCount; ++i) {
    const RecordField& field = kind.fields[i];
    if (std::strcmp(field.name, "date") == 0) continue;
    if (field.type == RecordFieldType::Text)
      key += RecordTextOf(reinterpret_cast<const char*>(record + field.offset)) + '\0';
    else
      key.append(reinterpret_cast<const char*>(record + field.offset), RecordFieldSize(field.type));
  }
  return key;
}

// Warnings name a record by its label and quote what was not stored; a
// 20 MB name must not make a 20 MB line, nor a card of 100,000 lines as
// many warnings.
constexpr std::size_t kLabelBytes = 60;
constexpr std::size_t kNoteBytes = 200;
constexpr std::size_t kNotesPerRecord = 20;

// text cut to at most bytes (at a character's start), "..." marking the cut.
std::string ShortText(const std::string& text, std::size_t bytes) {
  if (text.size() <= bytes) return text;
  std::size_t cut = bytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut) + "...";
}

struct PendingRecord {
  std::string where;  // "input:line N \"label\""
  std::vector<unsigned char> bytes;
};

// Fills one record image; false (with a reason) for a text the record cannot
// hold at all.
bool BuildRecord(const RecordKindInfo& kind, const CodePage& codePage, const ImportedRecord& imported,
                 const std::string& input, PendingRecord& pending, std::ostream& err, std::string& error) {
  pending.bytes.assign(kind.recordSize, 0);
  RecordFields fields(kind, pending.bytes.data(), codePage);
  std::string stamp;
  MakeTimeStamp(stamp);
  bool ok = true;
  fields.SetText("date", stamp, ok);
  const char* label = kind.fields[1].name;  // title, or the name of an e-mail resource
  std::string labelText;
  for (const auto& text : imported.texts) {
    if (text.first == label) labelText = text.second;
  }
  pending.where = input + ":" + std::to_string(imported.lineNumber) + " \"" + ShortText(labelText, kLabelBytes) + "\"";
  for (const auto& text : imported.texts) {
    const std::string lost = fields.SetText(text.first.c_str(), text.second, ok);
    if (!ok) {
      error = pending.where + ": " + text.first + ": " + lost;
      return false;
    }
    if (!lost.empty()) err << "qmdb: " << pending.where << ": " << text.first << " " << lost << "\n";
  }
  for (const auto& integer : imported.integers) fields.SetInteger(integer.first.c_str(), integer.second);
  for (std::size_t i = 0; i < imported.notes.size() && i < kNotesPerRecord; ++i)
    err << "qmdb: " << pending.where << ": " << ShortText(imported.notes[i], kNoteBytes) << "\n";
  if (imported.notes.size() > kNotesPerRecord)
    err << "qmdb: " << pending.where << ": " << imported.notes.size() - kNotesPerRecord << " more warnings\n";
  return true;
}

// Adds the records; false when the store could not take them all.
bool AddRecords(const std::string& path, const RecordKindInfo& kind, const std::vector<PendingRecord>& records,
                std::string& error) {
  std::unique_ptr<RecordStore> store = MakeRecordStore(kind.kind);
  if (OpenOrCreateStoreFile(*store, path) != gxNoError || !store->IsReady()) {
    error = gxDatabase::ErrorText(store->LastError());
    store->Close();
    return false;
  }
  for (const PendingRecord& record : records) {
    std::memcpy(store->RecordBytes(), record.bytes.data(), kind.recordSize);
    if (store->AddRecord() == 0) {
      error = gxDatabase::ErrorText(store->LastError());
      store->Close();
      return false;
    }
  }
  if (store->Close() != gxNoError) {
    error = gxDatabase::ErrorText(store->LastError());
    return false;
  }
  return true;
}

}  // namespace

int ImportFiles(const ImportRequest& request, std::ostream& out, std::ostream& err) {
  if (request.inputs.empty()) {
    err << "qmdb: import needs at least one input file and a target\n";
    return 2;
  }
  const bool targetIsStore = EndsWith(request.target, ".qmt");
  const ImportForm* form = nullptr;
  if (request.kind != nullptr) {
    form = FormOf(request.kind->kind);
  } else if (targetIsStore && FindRecordKindByFileName(request.target) != nullptr) {
    form = FormOf(FindRecordKindByFileName(request.target)->kind);
  } else {
    form = FormOfInput(request.inputs[0]);
  }
  if (form == nullptr) {
    err << "qmdb: import reads vCard files (.vcf) into e-mail resources and bookmark files (.html) into "
           "internet resources; use --kind email or --kind internet\n";
    return 2;
  }
  const RecordKindInfo& kind = RecordKindInfoOf(form->kind);
  std::string path = request.target;
  if (!targetIsStore) {
    if (!path.empty() && path.back() != '/' && path.back() != kPathSeparator) path += kPathSeparator;
    path += std::string(kind.storeName) + ".qmt";
  }

  // Every input first: nothing is written unless all of them parse.
  std::vector<PendingRecord> pending;
  for (const std::string& input : request.inputs) {
    std::string text, error;
    if (!ReadWholeFile(input, text)) {
      err << "qmdb: cannot read " << input << "; nothing imported\n";
      return 2;
    }
    std::vector<ImportedRecord> imported;
    if (!form->reader(text, imported, error)) {
      err << "qmdb: " << input << ": " << error << "; nothing imported\n";
      return 1;
    }
    for (const ImportedRecord& record : imported) {
      PendingRecord built;
      if (!BuildRecord(kind, *request.codePage, record, input, built, err, error)) {
        err << "qmdb: " << error << "; nothing imported\n";
        return 1;
      }
      pending.push_back(std::move(built));
    }
  }

  const bool existed = !PlatformPathIsAbsent(path);
  std::string original;
  std::map<std::string, std::uint32_t> stored;  // duplicate key -> object address (0: this import)
  if (existed) {
    std::vector<StoredRecord> records;
    std::string error;
    if (!HoldsOnlyKind(path, kind, error)) {
      err << "qmdb: " << path << ": " << error << "; it holds another kind of record, nothing imported\n";
      return 2;
    }
    error.clear();
    if (!ReadWholeFile(path, original) || !ReadStoredRecords(path, kind, records, error)) {
      err << "qmdb: " << path << ": " << (error.empty() ? "cannot read the file" : error) << "; nothing imported\n";
      return 2;
    }
    for (const StoredRecord& record : records) stored.emplace(DuplicateKey(kind, record.bytes.data()), record.address);
  }
  std::vector<PendingRecord> fresh;
  int duplicates = 0;
  for (PendingRecord& record : pending) {
    auto found = stored.emplace(DuplicateKey(kind, record.bytes.data()), 0);
    if (!found.second) {
      ++duplicates;
      err << "qmdb: " << record.where << ": already stored"
          << (found.first->second != 0 ? " (object " + std::to_string(found.first->second) + ")"
                                       : std::string(" (earlier in this import)"))
          << "; not added twice\n";
      continue;
    }
    fresh.push_back(std::move(record));
  }

  std::string error;
  if (!fresh.empty() && !AddRecords(path, kind, fresh, error)) {
    const char* outcome = nullptr;
    if (existed)
      outcome = RestoreFileInPlace(path, original) ? " (the file is as it was)" : " (THE FILE COULD NOT BE RESTORED)";
    else
      outcome = PlatformPathIsAbsent(path) || std::remove(path.c_str()) == 0
                    ? " (no file was left behind)"
                    : " (the file this import created could not be removed)";
    err << "qmdb: " << path << ": " << error << "; nothing imported" << outcome << "\n";
    return 2;
  }
  out << "imported " << fresh.size() << " " << kind.toolName << " records into " << path << ", " << duplicates
      << (duplicates == 1 ? " duplicate" : " duplicates") << " not added\n";
  return 0;
}
