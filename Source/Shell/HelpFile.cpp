// HelpFile: finding and opening quillmate.chm.
#include "Shell/HelpFile.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <system_error>
#include <thread>

std::string ExecutablePath() {
  char path[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, length);
}

std::string HelpFilePath(const char* executablePath) {
  std::string folder = executablePath ? executablePath : "";
  std::string::size_type slash = folder.rfind('\\');
  if (slash != std::string::npos) folder.erase(slash);
  return folder + "\\quillmate.chm";
}

std::string HelpTopicArgument(const char* executablePath, const char* topic) {
  return "\"" + HelpFilePath(executablePath) + "::/" + topic + "\"";
}

void OpenHelpTopic(const char* executablePath, const char* topic) {
  std::string argument = HelpTopicArgument(executablePath, topic);
  ShellExecuteA(nullptr, "open", "hh.exe", argument.c_str(), nullptr, SW_SHOWNORMAL);
}

void OpenHelpFile(const char* executablePath) {
  std::string help = HelpFilePath(executablePath);
  ShellExecuteA(nullptr, "open", help.c_str(), "", nullptr, SW_SHOWNORMAL);
}

void OpenHelpFileInBackground(const std::string& executablePath) {
  try {
    std::thread([executablePath] {
      // The shell may hand the file to an extension: it wants COM set up.
      const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
      OpenHelpFile(executablePath.c_str());
      if (SUCCEEDED(com)) CoUninitialize();
    }).detach();
  } catch (const std::system_error&) {
    OpenHelpFile(executablePath.c_str());
  }
}
