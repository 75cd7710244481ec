// KindCommands: what the main window knows about each of the eight kinds,
// in kind order: the manager list's entry and the commands that show the
// kind, edit its focused record and delete its records.
#pragma once

#include "Records/RecordKind.h"

struct KindCommands {
  RecordKind kind;
  const char* managerName;  // the manager list's entry
  int showCommand;
  int editCommand;
  int deleteCommand;
  int deleteAllCommand;
  const char* helpTopic;  // the kind's place in the help file
};

// Row of kind number 0..7, or null for any other number.
const KindCommands* KindCommandsAt(int kindNumber);
