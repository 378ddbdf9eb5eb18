// The paths the packer builds, all composed into its one path buffer: each member's path and
// the archive's name.
#pragma once

#include <cstddef>
#include <cstdio>

constexpr size_t path_buffer_size = 264;
// A member's path must fit in fewer bytes than the buffer holds: 260 with its NUL.
constexpr size_t member_path_limit = 260;

// Joins directory and name with the platform's separator into `buffer`; false, with nothing
// printed, when the path does not fit.
bool format_member_path(char* buffer, const char* directory, const char* name);

// As format_member_path, but a path that does not fit is reported on `err` ("Error making path
// ...", with ENAMETOOLONG's text).
bool compose_member_path(char* buffer, const char* directory, const char* name, FILE* err);

// True for a directory operand that names nothing once trailing separators are stripped: it
// is refused before it is listed.
bool directory_operand_is_empty(const char* directory);

// Puts the archive's name into `buffer`: `named` when the second operand gave one, otherwise
// the directory with its trailing separators replaced by ".qar". A name that does not fit the
// buffer is reported on `err` as the archive that cannot be opened, with ENAMETOOLONG's text,
// and gives false; nothing is truncated.
bool choose_archive_name(char* buffer, const char* directory, const char* named, FILE* err);
