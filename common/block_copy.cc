#include "common/block_copy.h"

#include <cerrno>
#include <cstring>

#include "platform/files.h"

copy_result block_copy(int source, int destination, int32_t length) {
  char buffer[copy_block_size];
  int32_t position = 0;
  while (position < length) {
    const int32_t want = length - position < copy_block_size ? length - position : copy_block_size;
    const int32_t got = file_read(source, buffer, want);
    if (got != want) return {copy_status::short_read, position};
    const int32_t put = file_write(destination, buffer, got);
    if (put != got) return {copy_status::short_write, position};
    position += put;
  }
  return {copy_status::done, position};
}

void report_copy_failure(FILE* err, const copy_result& result, const char* file_name) {
  const char* const error = std::strerror(errno);
  if (result.status == copy_status::short_read) {
    std::fprintf(err, "Error reading from position %d of file '%s': %s\n", result.position,
                 file_name, error);
  } else {
    std::fprintf(err, "Error writing from position %d of file '%s': %s\n", result.position,
                 file_name, error);
  }
}
