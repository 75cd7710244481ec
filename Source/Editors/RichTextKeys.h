// The keys of a text note's body that the dialog manager and the rich edit
// would otherwise get wrong: entering the body by Tab must not select the
// whole note (the next key would replace it); Tab moves on to the next
// control and Ctrl+Tab types a tab; Ctrl+B, Ctrl+I and Ctrl+U toggle bold,
// italic and underline through the editor's own commands (Ctrl+I would
// otherwise type a tab over the selection).
#ifndef QUILLMATE_EDITORS_RICHTEXTKEYS_H
#define QUILLMATE_EDITORS_RICHTEXTKEYS_H

#include <windows.h>

// The commands that Ctrl+B, Ctrl+I and Ctrl+U send to the body's parent.
struct RichTextKeyCommands {
  int bold;
  int italic;
  int underline;
};

// Subclasses body for as long as it exists.
void InstallRichTextKeys(HWND body, const RichTextKeyCommands& commands);

#endif  // QUILLMATE_EDITORS_RICHTEXTKEYS_H
