// HelpFile: the help file "quillmate.chm" beside the executable, opened on the
// first start, by the Help command and by F1.
#pragma once

#include <string>

// The executable's full path.
std::string ExecutablePath();

// executablePath cut before its last "\" + "\quillmate.chm".
std::string HelpFilePath(const char* executablePath);

// Opens the help file with the shell's "open" verb, shown normally. A help
// file that cannot be opened is not reported.
void OpenHelpFile(const char* executablePath);
// The same on a thread of its own: the shell takes a while to start the help
// viewer, and the caller's window stays responsive meanwhile.
void OpenHelpFileInBackground(const std::string& executablePath);

// The help viewer's argument for topic (a page of the help file, with an
// anchor: "kinds.html#fasttexts"): "<help file>::/<topic>", quoted.
std::string HelpTopicArgument(const char* executablePath, const char* topic);
// Opens the help file at topic in the platform's help viewer (hh.exe); not
// reported when that fails, as with OpenHelpFile.
void OpenHelpTopic(const char* executablePath, const char* topic);
