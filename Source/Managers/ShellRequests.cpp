// Mail and browse requests: the focused record's address goes to the shell
// with the verb "open", no parameters, no directory, shown normally. The
// store is closed before the shell is asked.
#include "Managers/ShellRequests.h"

#include <shellapi.h>

#include <string>

#include "Managers/ManagerCore.h"
#include "Records/DatabaseData.h"
#include "Records/MessageBoxSeam.h"
#include "Records/RecordText.h"

ShellExecuteFunction gShellExecute = &ShellExecuteA;

namespace {

// What ShellExecute's result (32 or below) means to the user.
const char* ShellFailureText(INT_PTR result) {
  switch (result) {
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
      return "No program is set up to open it.";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return "What it names was not found.";
    case SE_ERR_ACCESSDENIED:
      return "Access was denied.";
    case 0:
    case SE_ERR_OOM:
      return "There was not enough memory.";
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY:
    case SE_ERR_DLLNOTFOUND:
      return "The program that opens it did not answer.";
    default:
      return "Windows could not tell why.";
  }
}

template <class Record>
bool OpenFocused(HWND mainWindow, const char* prefix, char (Record::*field)[255], const char* failure) {
  std::string target;
  bool read = false;
  GetFocusedKindRecord(Record::kKind, mainWindow, [&](const unsigned char* bytes) {
    target = prefix + RecordTextOf(reinterpret_cast<const Record*>(bytes)->*field);
    read = true;
    return true;
  });
  if (!read) return false;
  // ShellExecute reports success with a value above 32.
  const INT_PTR result =
      reinterpret_cast<INT_PTR>(gShellExecute(mainWindow, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) {
    std::string text = failure;
    text += " \"" + target + "\".\n\n" + ShellFailureText(result);
    ShowMessageBox(nullptr, text.c_str(), "Quillmate", kMbOk | kMbIconWarning);
  }
  return true;
}

}  // namespace

bool SendMail(HWND mainWindow) {
  return OpenFocused<DatabaseDataEmailRes>(mainWindow, "mailto:", &DatabaseDataEmailRes::email,
                                           "Quillmate could not start a new mail with");
}

bool BrowseResource(HWND mainWindow) {
  return OpenFocused<DatabaseDataInternetRes>(mainWindow, "", &DatabaseDataInternetRes::address,
                                              "Quillmate could not open");
}
