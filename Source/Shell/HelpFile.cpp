// HelpFile: finding and opening quillmate.chm.
#include "Shell/HelpFile.h"

#include <windows.h>
#include <shellapi.h>

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
