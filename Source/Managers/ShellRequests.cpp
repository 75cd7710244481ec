// Mail and browse requests: the focused record's address goes to the shell
// with the verb "open", no parameters, no directory, shown normally. The
// store is closed before the shell is asked.
#include "Managers/ShellRequests.h"

#include <shellapi.h>

#include <string>

#include "Managers/ManagerCore.h"
#include "Records/DatabaseData.h"
#include "Records/RecordText.h"

ShellExecuteFunction gShellExecute = &ShellExecuteA;

namespace {

template <class Record>
bool OpenFocused(HWND mainWindow, const char* prefix, char (Record::*field)[255]) {
  std::string target;
  bool read = false;
  GetFocusedKindRecord(Record::kKind, mainWindow, [&](const unsigned char* bytes) {
    target = prefix + RecordTextOf(reinterpret_cast<const Record*>(bytes)->*field);
    read = true;
    return true;
  });
  if (!read) return false;
  gShellExecute(mainWindow, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return true;
}

}  // namespace

bool SendMail(HWND mainWindow) {
  return OpenFocused<DatabaseDataEmailRes>(mainWindow, "mailto:", &DatabaseDataEmailRes::email);
}

bool BrowseResource(HWND mainWindow) {
  return OpenFocused<DatabaseDataInternetRes>(mainWindow, "", &DatabaseDataInternetRes::address);
}
