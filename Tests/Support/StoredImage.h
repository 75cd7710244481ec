// What a record store must write for a record image: every text field cut
// to 254 characters and zero-filled behind them, the own-address slot 0,
// everything else as given. The model tests predict the file with it.
#ifndef QUILLMATE_TESTS_SUPPORT_STOREDIMAGE_H
#define QUILLMATE_TESTS_SUPPORT_STOREDIMAGE_H

#include "Records/RecordKind.h"
#include "Support/FileBytes.h"

namespace qmtest {

Bytes StoredImage(const RecordKindInfo& info, Bytes image);

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_STOREDIMAGE_H
