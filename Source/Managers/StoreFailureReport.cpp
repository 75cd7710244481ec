// The failure box's text names the file and the tools by their place, so the
// user can act on it without the program.
#include "Managers/StoreFailureReport.h"

#include <windows.h>

#include "Database/gxDatabase.h"
#include "Managers/KindDescription.h"
#include "Records/DataFolders.h"
#include "Records/MessageBoxSeam.h"

namespace {

// What could not be done, before and after the record's name.
struct ActionWords {
  const char* before;
  const char* after;
};

ActionWords WordsOf(StoreAction action) {
  switch (action) {
    case StoreAction::Add:
      return {"add the", "to its file"};
    case StoreAction::Change:
      return {"save the changes to the", "in its file"};
    case StoreAction::Delete:
      return {"delete the", "from its file"};
  }
  return {"use the", "in its file"};
}

// The folder of the running program, where the setup puts qmdb.exe.
std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length < sizeof path ? length : 0);
  const std::string::size_type separator = folder.find_last_of('\\');
  return separator == std::string::npos ? folder : folder.substr(0, separator);
}

}  // namespace

std::string StoreFailureReport::Text(RecordKind kind, StoreAction action, int errorCode) {
  const ActionWords words = WordsOf(action);
  std::string text = "Quillmate could not ";
  text += words.before;
  text += ' ';
  text += KindDescriptionOf(kind).recordName;
  text += ' ';
  text += words.after;
  text += ":\n\n";
  text += StoreFilePath(kind);
  // Some refusals leave no engine error behind; then there is no reason to name.
  if (errorCode != gxNoError) {
    text += "\n\nReason: ";
    text += gxDatabase::ErrorText(errorCode);
  }
  text += "\n\nThe file can be examined with \"qmdb check\" and its records rescued into a new file with "
          "\"qmdb salvage\"; qmdb is installed beside Quillmate, in ";
  text += ProgramFolder();
  text += '.';
  return text;
}

void StoreFailureReport::Failed(int errorCode) {
  if (m_failed) return;
  m_failed = true;
  m_errorCode = errorCode;
}

StoreFailureReport::~StoreFailureReport() {
  if (!m_failed) return;
  ShowMessageBox(nullptr, Text(m_kind, m_action, m_errorCode).c_str(), "Quillmate", kMbOk | kMbIconError);
}
