// The HTML bookmark file that every browser imports and exports (the
// "NETSCAPE-Bookmark-file-1" format) for internet resources: one folder per
// category, named as the program names it ("Personal", "Bussines", "Funny",
// "News", "Shopping", "Others"), holding the bookmarks of that category.
//
//   <!DOCTYPE NETSCAPE-Bookmark-file-1>
//   <META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
//   <TITLE>Bookmarks</TITLE>
//   <H1>Bookmarks</H1>
//   <DL><p>
//       <DT><H3>Personal</H3>
//       <DL><p>
//           <DT><A HREF="address">title</A>
//       </DL><p>
//   </DL><p>
//
// Import maps the innermost folder of a bookmark back to its category by
// name (letter case ignored) and every other folder, or none, to 5 "Others".
#ifndef QUILLMATE_TOOLS_QMDB_BOOKMARKFILE_H
#define QUILLMATE_TOOLS_QMDB_BOOKMARKFILE_H

#include <cstdint>
#include <string>
#include <vector>

#include "ImportedRecord.h"

struct Bookmark {
  std::string title;    // UTF-8
  std::string address;  // UTF-8
  std::int32_t resourceType = 0;
};

// The whole file, UTF-8; folders in category order, empty ones left out,
// bookmarks in the order given.
std::string WriteBookmarkFile(const std::vector<Bookmark>& bookmarks);

// Reads every bookmark as an internet resource (title, address,
// resource_type). Fails, with a reason naming the line, on text that is not
// UTF-8, a file without the format's DOCTYPE, an unterminated tag or comment,
// a bookmark without HREF or </A>, and unbalanced folders (<DL>/</DL>).
bool ReadBookmarkFile(const std::string& text, std::vector<ImportedRecord>& bookmarks, std::string& error);

#endif  // QUILLMATE_TOOLS_QMDB_BOOKMARKFILE_H
