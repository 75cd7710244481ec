// Fault injection for the engine's file layer (gxFileHandle), so tests can
// show that a failed open, read, write, flush or seek is reported and that
// what was stored before survives. Process-wide and not thread-safe: tests only.
#ifndef QUILLMATE_DATABASE_GXFAULTINJECTION_H
#define QUILLMATE_DATABASE_GXFAULTINJECTION_H

enum class gxFaultOp { Open, Read, Write, Flush, Seek };

// The failOnNth-th call of op from now on fails (1 = the next call); with
// persistent set, every later call of op fails too. A failing Read or Write
// transfers only the first half of its bytes (a short transfer), a failing
// Open opens nothing, a failing Flush or Seek does nothing. Seek is the
// setting of the file position (held in memory, it has no system call of its
// own), which an explicit address in ReadAt, WriteAt or SeekTo performs.
void gxInjectFault(gxFaultOp op, int failOnNth, bool persistent);
void gxClearFaults();

// Number of injected failures that have fired since the last gxClearFaults.
int gxFaultsFired();

// Consulted by the file layer before each call of op: true means "fail it".
bool gxFaultShouldFail(gxFaultOp op);

#endif  // QUILLMATE_DATABASE_GXFAULTINJECTION_H
