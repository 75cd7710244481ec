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

// The help viewer's argument for topic (a page of the help file, with an
// anchor: "kinds.html#fasttexts"): "<help file>::/<topic>", quoted.
std::string HelpTopicArgument(const char* executablePath, const char* topic);
// Opens the help file at topic in the platform's help viewer (hh.exe); not
// reported when that fails, as with OpenHelpFile.
void OpenHelpTopic(const char* executablePath, const char* topic);
