// The per-kind pieces of Get, Change and Add: moving a kind's editable values
// between its record and its value structure. Internal to the Managers layer.
#ifndef QUILLMATE_MANAGERS_RECORDACCESSORS_H
#define QUILLMATE_MANAGERS_RECORDACCESSORS_H

#include "Managers/RecordValues.h"
#include "Records/DatabaseData.h"

// The values an editor gets for a record.
template <RecordKind K>
void ReadValues(const DatabaseDataNote<K>& record, NoteValues& values);
void ReadValues(const DatabaseDataPhotoAlbum& record, PhotoValues& values);
void ReadValues(const DatabaseDataTimeNotif& record, TimeNotifValues& values);
void ReadValues(const DatabaseDataEmailRes& record, EmailValues& values);
void ReadValues(const DatabaseDataInternetRes& record, InternetValues& values);

// Writes the editable values into a record; adding also writes what only a
// new record takes (a note's attachment name).
template <RecordKind K>
void WriteValues(const NoteValues& values, DatabaseDataNote<K>& record, bool adding);
void WriteValues(const PhotoValues& values, DatabaseDataPhotoAlbum& record, bool adding);
void WriteValues(const TimeNotifValues& values, DatabaseDataTimeNotif& record, bool adding);
void WriteValues(const EmailValues& values, DatabaseDataEmailRes& record, bool adding);
void WriteValues(const InternetValues& values, DatabaseDataInternetRes& record, bool adding);

#endif  // QUILLMATE_MANAGERS_RECORDACCESSORS_H
