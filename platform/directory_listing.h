// Listing the entries of one directory, the other place where platforms differ. The packer's
// scan sits on top of this and holds all of its logic; this layer only says, per entry, its
// name, whether it is a file to pack, and, when asked, its size.
#pragma once

#include <cstdint>

struct directory_listing;

struct listing_entry {
  const char* name;  // valid until the next call on the listing
  // A regular file (also one reached through a symbolic link); everything else is skipped.
  bool is_member;
  // Filled when the entry is a member and its size was asked for.
  int64_t size;
};

enum class listing_step { entry, end, failed };

// Opens a listing of `directory`. `path_buffer` (264 bytes) is scratch space for a platform that
// lists through a composed pattern. Null on failure, with the platform's error number in *error.
directory_listing* listing_open(const char* directory, char* path_buffer, int* error);

// The next entry. With `with_size`, a member's size is filled in; without, the platform may
// tell members from other entries more cheaply. On `failed`, *error holds the
// platform's error number.
listing_step listing_next(directory_listing* listing, bool with_size, listing_entry* entry,
                          int* error);

void listing_close(directory_listing* listing);
