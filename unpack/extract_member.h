// Writes one member into a file of its name in the current directory and leaves the archive
// positioned at the next index entry.
#pragma once

#include <cstdint>
#include <cstdio>

#include "unpack/archive_reader.h"

// Returns unpack_ok, or the exit code of the step that failed after printing its line on `err`.
int extract_member(const archive_reader& archive, int32_t entry, const char* name, int32_t offset,
                   int32_t length, FILE* out, FILE* err);
