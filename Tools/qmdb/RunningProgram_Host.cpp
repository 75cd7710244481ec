// POSIX: Quillmate is a Windows program and never runs beside this qmdb.
#include "RunningProgram.h"

bool QuillmateIsRunning() {
  return false;
}
