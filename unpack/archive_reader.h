// The open archive as the unpacker walks it.
#pragma once

#include <cstdint>

#include "platform/files.h"

struct archive_reader {
  int descriptor;
  // Known for an archive that is a regular file; a name length is checked against it.
  file_facts facts;
  bool facts_known;
  // Position in the index, counted as fields are read: the walk reads strictly in sequence and
  // extraction always seeks back to where it was.
  int64_t index_position;
};
