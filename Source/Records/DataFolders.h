// The data folder of the user and its five attachment folders: computed once
// at start-up by MakeDataFolders and read everywhere afterwards through the
// shared path strings below. Each folder path ends with the path separator
// (a backslash on Windows, a slash on the host).
#ifndef QUILLMATE_RECORDS_DATAFOLDERS_H
#define QUILLMATE_RECORDS_DATAFOLDERS_H

#include <string>

#include "Records/RecordKind.h"

extern std::string gDataFolder;      // application-data folder + "Quillmate" + separator
extern std::string gTextNoteFolder;  // gDataFolder + "TextNotes" + separator
extern std::string gAudioNoteFolder;
extern std::string gVideoNoteFolder;
extern std::string gPhotoFolder;
extern std::string gFastTextFolder;

// Computes the six path strings and creates the folders, data folder first.
// False, with nothing computed or created, when the platform cannot tell
// where application data lives: the folders would otherwise land relative
// to the working directory. A folder that cannot be created is not reported
// here: it shows up later as failing file operations.
bool MakeDataFolders();

// gDataFolder + the kind's store name + ".qmt".
std::string StoreFilePath(RecordKind kind);

// The attachment folder of a kind; an empty string for kinds without one.
const std::string& AttachmentFolder(RecordKind kind);

// The folder that plays the user's application-data folder: the test
// override when one is installed, else the platform's.
std::string ApplicationDataFolder();

// Makes ApplicationDataFolder return folder while the object lives.
class ScopedApplicationDataFolder {
 public:
  explicit ScopedApplicationDataFolder(std::string folder);
  ~ScopedApplicationDataFolder();
  ScopedApplicationDataFolder(const ScopedApplicationDataFolder&) = delete;
  ScopedApplicationDataFolder& operator=(const ScopedApplicationDataFolder&) = delete;

 private:
  std::string m_previous;
  bool m_hadPrevious;
};

#endif  // QUILLMATE_RECORDS_DATAFOLDERS_H
