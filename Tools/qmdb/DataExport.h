// qmdb export: every record of a data folder in the standard format of its
// kind, with its attachment, and an index that names every file written.
//
//   Kind               | Written to OUTFOLDER
//   -------------------|---------------------------------------------------
//   e-mail resources   | EmailRes.vcf (vCard 4.0, one card per record)
//   internet resources | InternetRes.html (browser bookmarks, a folder per category)
//   time notifications | TimeNotif.ics (iCalendar, a VEVENT with VALARM each)
//   text notes         | TextNotes/<title>.rtf (the rich text as stored)
//   audio notes        | AudioNotes/<title>.wav
//   video notes        | VideoNotes/<title>.avi
//   photos             | PhotoAlbum/<title>.<extension of the stored copy>
//   fast texts         | FastText/<title>.txt (converted to UTF-8)
//   every record       | index.jsonl: {"kind", "file" (null when nothing was
//                      |   written for it), then the record as dump writes it}
//
// Texts go from the records' code page to UTF-8 wherever the format is UTF-8
// (vCard, iCalendar, bookmarks, fast texts, the index); RTF carries its own
// code page and attachments are copied byte for byte.
#ifndef QUILLMATE_TOOLS_QMDB_DATAEXPORT_H
#define QUILLMATE_TOOLS_QMDB_DATAEXPORT_H

#include <ostream>
#include <string>

#include "CodePage.h"
#include "Records/RecordKind.h"

struct ExportRequest {
  std::string dataFolder;
  std::string outFolder;               // created when missing; must be empty
  const RecordKindInfo* kind = nullptr;  // null: every kind
  const CodePage* codePage = &CodePage::Windows1252();
};

// Exit status: 0 everything exported; 1 exported, but something was skipped
// or damaged (missing attachments, checksum mismatches, unusable store
// files, times that are no date), each reported on err; 2 nothing could be
// written (the output folder) or the data folder holds no store file.
int ExportDataFolder(const ExportRequest& request, std::ostream& out, std::ostream& err);

#endif  // QUILLMATE_TOOLS_QMDB_DATAEXPORT_H
