// Turns the directory operand into a filled member table and the archive's header size, by
// listing the directory twice: once to count the members, once to fill a table of that size.
#pragma once

#include <cstdint>
#include <cstdio>

#include "pack/member_table.h"

struct scan_result {
  member_record** table;  // records in listing order, not yet sorted
  int32_t count;
  int64_t header_size;
};

// Returns pack_ok with the result filled in, or the exit code of the failure after printing
// its line on `err`; on failure nothing is left allocated. `path_buffer` is the packer's.
int scan_directory(const char* directory, char* path_buffer, scan_result* result, FILE* err);
