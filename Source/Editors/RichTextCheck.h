// A text note's body read by our own bounded tokenizer before the rich edit
// sees it: a body nested too deep, or holding a control word, number or
// binary run past the limits, would take the program down inside the
// control, so it is not loaded at all.
#ifndef QUILLMATE_EDITORS_RICHTEXTCHECK_H
#define QUILLMATE_EDITORS_RICHTEXTCHECK_H

#include <windows.h>

#include <string>

// True when the file at path may be streamed into the rich edit: it is
// missing (the load creates it empty), or it stays within every limit of the
// RTF tokenizer. Otherwise a warning box owned by owner names the file and
// what is wrong with it, and the result is false: the body opens empty and
// the file is left as it is (it is only replaced if the user saves).
bool RichTextFileCanBeLoaded(HWND owner, const std::string& path);

#endif  // QUILLMATE_EDITORS_RICHTEXTCHECK_H
