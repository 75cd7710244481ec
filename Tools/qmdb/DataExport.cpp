// One loop over the kinds; what differs per kind is one row of kKindExports
// and one small function per form.
#include "DataExport.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "BookmarkFile.h"
#include "Calendar.h"
#include "Database/gxCrc32.h"
#include "JsonLine.h"
#include "OutputFolder.h"
#include "OutputFolderPlatform.h"
#include "RecordFields.h"
#include "RecordJson.h"
#include "Records/AttachmentName.h"
#include "Records/FileSystemPlatform.h"
#include "StoredRecords.h"
#include "VCard.h"
#include "WholeFile.h"

namespace {

enum class ExportForm {
  VCard,       // all records in one file
  Bookmarks,   // all records in one file
  Calendar,    // all records in one file
  Attachment,  // the attachment copied, one file per record
  PlainText    // the attachment converted to UTF-8, one file per record
};

struct KindExport {
  RecordKind kind;
  ExportForm form;
  const char* extension;  // null: the stored attachment's own extension
};

const KindExport kKindExports[kRecordKindCount] = {
    {RecordKind::TextNote, ExportForm::Attachment, "rtf"},
    {RecordKind::AudioNote, ExportForm::Attachment, "wav"},
    {RecordKind::VideoNote, ExportForm::Attachment, "avi"},
    {RecordKind::PhotoAlbum, ExportForm::Attachment, nullptr},
    {RecordKind::TimeNotif, ExportForm::Calendar, "ics"},
    {RecordKind::EmailRes, ExportForm::VCard, "vcf"},
    {RecordKind::InternetRes, ExportForm::Bookmarks, "html"},
    {RecordKind::FastText, ExportForm::PlainText, "txt"},
};

std::string WithSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '/' && folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

std::string UtcStamp() {
  std::time_t now = std::time(nullptr);
  std::tm* utc = std::gmtime(&now);
  char text[32] = "19700101T000000Z";
  if (utc != nullptr) std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", utc);
  return text;
}

// The export of one kind: its records go into one collected file or into
// files of their own, and each gets an index line.
class KindExporter {
 public:
  KindExporter(const ExportRequest& request, const RecordKindInfo& kind, const KindExport& form,
               OutputFolder& root, std::vector<std::string>& index, std::ostream& err)
      : m_request(request), m_kind(kind), m_form(form), m_root(root), m_index(index), m_err(err) {}

  // Returns the records exported; problems are counted in Problems().
  int Run(const std::vector<StoredRecord>& records, std::string& target) {
    int exported = 0;
    std::vector<Bookmark> bookmarks;
    std::string collected;
    const bool perRecord = m_form.form == ExportForm::Attachment || m_form.form == ExportForm::PlainText;
    const std::string collectedName = perRecord ? std::string() : std::string(m_kind.storeName) + "." + m_form.extension;
    if (m_form.form == ExportForm::Calendar) collected = CalendarBegin();
    const std::string stamp = UtcStamp();
    for (const StoredRecord& stored : records) {
      std::vector<unsigned char> bytes = stored.bytes;
      RecordFields fields(m_kind, bytes.data(), *m_request.codePage);
      if (!stored.crcOk) Warn(fields, stored.address, "checksum mismatch; exported as read");
      std::string file;
      int dropped = 0;
      switch (m_form.form) {
        case ExportForm::VCard:
          AppendVCard(collected, fields, dropped);
          file = collectedName;
          break;
        case ExportForm::Bookmarks:
          bookmarks.push_back({fields.Text("title"), fields.Text("address"), fields.Integer("resource_type")});
          file = collectedName;
          break;
        case ExportForm::Calendar: {
          char uid[64];
          std::snprintf(uid, sizeof uid, "%s-%u-%08X@quillmate", m_kind.toolName,
                        static_cast<unsigned>(stored.address),
                        static_cast<unsigned>(gxCrc32(stored.bytes.data(), m_kind.recordSize - 4)));
          if (AppendCalendarEvent(collected, fields, uid, stamp, dropped))
            file = collectedName;
          else
            Warn(fields, stored.address, "its time " + FormatRecordTime(fields.Time("time")) +
                                             " is no date; not in the calendar");
          break;
        }
        case ExportForm::Attachment:
        case ExportForm::PlainText:
          file = ExportAttachment(fields, stored.address);
          break;
      }
      if (!file.empty()) ++exported;
      if (dropped > 0)
        Note(fields, stored.address, std::to_string(dropped) + " control characters left out (the format allows none)");
      const int undefined = fields.UndefinedBytes() + m_undefinedInAttachment;
      if (undefined > 0)
        Note(fields, stored.address,
             std::to_string(undefined) + (undefined == 1 ? " byte" : " bytes") + " that code page " +
                 std::to_string(m_request.codePage->Number()) + " leaves undefined exported as U+FFFD");
      m_undefinedInAttachment = 0;
      AddIndexLine(stored, file);
    }
    if (m_form.form == ExportForm::Calendar) collected += CalendarEnd();
    if (m_form.form == ExportForm::Bookmarks) collected = WriteBookmarkFile(bookmarks);
    if (perRecord) {
      target = std::string(m_kind.attachmentFolderName) + "/";
    } else {
      target = collectedName;
      std::string error;
      if (!records.empty() && !m_root.WriteFile(collectedName, collected, error)) {
        m_err << "qmdb: " << error << "\n";
        ++m_problems;
        return 0;
      }
    }
    return exported;
  }

  int Problems() const { return m_problems; }

 private:
  // A record exported in part or not at all: counted as a problem.
  void Warn(const RecordFields& fields, std::uint32_t address, const std::string& what) {
    Note(fields, address, what);
    ++m_problems;
  }

  // A record exported whole, but not byte for byte.
  void Note(const RecordFields& fields, std::uint32_t address, const std::string& what) {
    const RecordField& label = m_kind.fields[1];  // the title (the name of an e-mail resource)
    std::vector<unsigned char> copy(fields.Record(), fields.Record() + m_kind.recordSize);
    const std::string title = RecordFields(m_kind, copy.data(), *m_request.codePage).Text(label.name);
    m_err << "qmdb: " << m_kind.toolName << " \"" << title << "\" (object " << address << "): " << what << "\n";
  }

  // Copies (or converts) the attachment; returns the index's relative file
  // name, or "" when it was skipped.
  std::string ExportAttachment(const RecordFields& fields, std::uint32_t address) {
    const std::string storedName = fields.RawText("file_name");
    std::string source;
    const std::string folder =
        WithSeparator(m_request.dataFolder) + m_kind.attachmentFolderName + std::string(1, kPathSeparator);
    if (!AttachmentPath(folder, storedName.c_str(), source) || !PlatformFileOpensForReading(source)) {
      Warn(fields, address, "attachment \"" + fields.Text("file_name") + "\" is missing; skipped");
      return std::string();
    }
    if (!m_folder) {
      const std::string path = m_root.Path() + m_kind.attachmentFolderName;
      if (!PlatformMakeFolder(path)) {
        Warn(fields, address, "cannot create the folder " + path + "; skipped");
        return std::string();
      }
      m_folder = std::make_unique<OutputFolder>(path);
    }
    const std::string extension =
        m_form.extension != nullptr ? m_form.extension : AttachmentExtensionOf(storedName);
    const std::string name = m_folder->ClaimName(SafeFileStem(fields.Text("title")), extension);
    std::string error;
    bool written;
    if (m_form.form == ExportForm::PlainText) {
      std::string bytes;
      written = ReadWholeFile(source, bytes);
      if (!written) error = "cannot read " + source;
      written = written && m_folder->WriteFile(name, m_request.codePage->ToUtf8(bytes, &m_undefinedInAttachment), error);
    } else {
      written = m_folder->CopyFile(source, name, error);
    }
    if (!written) {
      Warn(fields, address, error + "; skipped");
      return std::string();
    }
    return std::string(m_kind.attachmentFolderName) + "/" + name;
  }

  void AddIndexLine(const StoredRecord& stored, const std::string& file) {
    JsonObjectWriter writer;
    writer.AddString("kind", m_kind.toolName);
    if (file.empty())
      writer.AddNull("file");
    else
      writer.AddString("file", file);
    AddRecordToJson(writer, m_kind, stored.bytes.data(), stored.address, stored.crcOk, *m_request.codePage);
    m_index.push_back(writer.Finish());
  }

  const ExportRequest& m_request;
  const RecordKindInfo& m_kind;
  const KindExport& m_form;
  OutputFolder& m_root;
  std::vector<std::string>& m_index;
  std::ostream& m_err;
  std::unique_ptr<OutputFolder> m_folder;  // the kind's sub-folder, made at its first file
  int m_undefinedInAttachment = 0;         // of the record being exported
  int m_problems = 0;
};

}  // namespace

int ExportDataFolder(const ExportRequest& request, std::ostream& out, std::ostream& err) {
  const std::string dataFolder = WithSeparator(request.dataFolder);
  bool anyStore = false;
  for (int index = 0; index < kRecordKindCount; ++index) {
    const RecordKindInfo& kind = RecordKindInfoAt(index);
    if (request.kind != nullptr && request.kind != &kind) continue;
    anyStore = anyStore || !PlatformPathIsAbsent(dataFolder + kind.storeName + ".qmt");
  }
  if (!anyStore) {
    err << "qmdb: " << request.dataFolder << " holds no "
        << (request.kind != nullptr ? std::string(request.kind->storeName) + ".qmt" : "Quillmate data files")
        << "\n";
    return 2;
  }
  if (!PlatformMakeFolder(request.outFolder)) {
    err << "qmdb: cannot create the folder " << request.outFolder << "\n";
    return 2;
  }
  if (!PlatformFolderIsEmpty(request.outFolder)) {
    err << "qmdb: " << request.outFolder << " is not empty; export writes only into a new or empty folder\n";
    return 2;
  }
  OutputFolder root(request.outFolder);
  std::vector<std::string> index;
  int problems = 0;
  for (const KindExport& form : kKindExports) {
    const RecordKindInfo& kind = RecordKindInfoOf(form.kind);
    if (request.kind != nullptr && request.kind != &kind) continue;
    const std::string path = dataFolder + kind.storeName + ".qmt";
    if (PlatformPathIsAbsent(path)) {
      out << kind.toolName << ": no " << kind.storeName << ".qmt, nothing to export\n";
      continue;
    }
    std::vector<StoredRecord> records;
    std::string error;
    if (!ReadStoredRecords(path, kind, records, error)) {
      err << "qmdb: " << path << ": " << error << "; skipped\n";
      ++problems;
      continue;
    }
    KindExporter exporter(request, kind, form, root, index, err);
    std::string target;
    const int exported = exporter.Run(records, target);
    problems += exporter.Problems();
    out << kind.toolName << ": " << exported << " of " << records.size() << " records exported to " << target
        << "\n";
  }
  std::string indexText;
  for (const std::string& line : index) indexText += line + "\n";
  std::string error;
  if (!root.WriteFile("index.jsonl", indexText, error)) {
    err << "qmdb: " << error << "\n";
    return 2;
  }
  out << "index: " << index.size() << " records in index.jsonl\n";
  return problems == 0 ? 0 : 1;
}
