// Moves a member's bytes from the current position of one open file to the current position of
// another, through one 4096-byte buffer, so that no member is ever held in memory whole.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr int32_t copy_block_size = 4096;

enum class copy_status { done, short_read, short_write };

struct copy_result {
  copy_status status;
  // Bytes of this member already written to the destination when the copy stopped.
  int32_t position;
};

// Copies `length` bytes; a length of 0 or less copies nothing. Stops at the first read or
// write that moves fewer bytes than asked, without retrying and without writing what a short
// read did deliver; errno stays as the failing call left it.
copy_result block_copy(int source, int destination, int32_t length);

// Prints the one line that reports a copy that did not finish; `file_name` is the name the
// caller's messages use for the member.
void report_copy_failure(FILE* err, const copy_result& result, const char* file_name);
