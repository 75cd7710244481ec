// Whether Quillmate runs in this session. The program writes its stores at
// any moment (a due notification, a tray action) from the end_of_file it
// read; a second writer beside it would have its records overwritten, or
// overwrite the program's. So qmdb's writing commands wait for it to end.
#ifndef QUILLMATE_TOOLS_QMDB_RUNNINGPROGRAM_H
#define QUILLMATE_TOOLS_QMDB_RUNNINGPROGRAM_H

// True while a Quillmate of this session holds its single-instance mutex.
// Always false where the program does not run (POSIX).
bool QuillmateIsRunning();

#endif  // QUILLMATE_TOOLS_QMDB_RUNNINGPROGRAM_H
