// The walk over the live objects of a database's heap in file order, shared
// by the record stores and the search. Damaged block headers are stepped
// over: a wrong check word, a length shorter than a block or one that runs
// past the end of the heap resynchronise at the next valid header.
#ifndef QUILLMATE_DATABASE_GXLIVEOBJECTS_H
#define QUILLMATE_DATABASE_GXLIVEOBJECTS_H

#include <cstdint>
#include <functional>

#include "Database/gxDatabase.h"

// Calls visit(objectAddress, objectLength) for every block with status 'N'
// up to the end of file, with the engine's read-ahead window open, so that
// visit's ReadVerifiedObject is served from large sequential reads. The walk
// ends early when visit returns false.
void gxForEachLiveObject(gxDatabase& db,
                         const std::function<bool(std::uint32_t objectAddress, std::uint32_t objectLength)>& visit);

#endif  // QUILLMATE_DATABASE_GXLIVEOBJECTS_H
