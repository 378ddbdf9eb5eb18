// Writes the archive front to back, without a seek: the count, the whole index, then every
// member's bytes in index order.
#pragma once

#include <cstdint>
#include <cstdio>

#include "pack/member_table.h"

// `archive` is open for writing; `path_buffer` receives each member's path in turn. Returns
// pack_ok or the exit code of the failure after printing its line on `err`.
int write_archive(int archive, member_record* const* table, int32_t count, const char* directory,
                  char* path_buffer, FILE* out, FILE* err);
