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
