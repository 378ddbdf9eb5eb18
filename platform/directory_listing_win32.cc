#include <windows.h>

#include <cstdio>
#include <new>

#include "platform/directory_listing.h"

namespace {
constexpr size_t pattern_limit = 264;
}  // namespace

struct directory_listing {
  HANDLE handle;
  WIN32_FIND_DATAA found;
  // FindFirstFileA hands over the first entry with the handle; it is given out by the first
  // listing_next.
  bool first_pending;
};

directory_listing* listing_open(const char* directory, char* path_buffer, int* error) {
  const int written = std::snprintf(path_buffer, pattern_limit, "%s\\*", directory);
  if (written < 0 || static_cast<size_t>(written) >= pattern_limit) {
    // A truncated pattern would list some other directory.
    *error = ERROR_FILENAME_EXCED_RANGE;
    return nullptr;
  }
  directory_listing* const listing = new (std::nothrow) directory_listing{};
  if (listing == nullptr) {
    *error = ERROR_NOT_ENOUGH_MEMORY;
    return nullptr;
  }
  listing->handle = FindFirstFileA(path_buffer, &listing->found);
  if (listing->handle == INVALID_HANDLE_VALUE) {
    *error = static_cast<int>(GetLastError());
    delete listing;
    return nullptr;
  }
  listing->first_pending = true;
  return listing;
}

listing_step listing_next(directory_listing* listing, bool /*with_size*/, listing_entry* entry,
                          int* error) {
  if (listing->first_pending) {
    listing->first_pending = false;
  } else if (!FindNextFileA(listing->handle, &listing->found)) {
    const DWORD last = GetLastError();
    if (last == ERROR_NO_MORE_FILES) return listing_step::end;
    *error = static_cast<int>(last);
    return listing_step::failed;
  }
  const WIN32_FIND_DATAA& found = listing->found;
  // Only the directory bit decides: hidden, system and read-only files are members too.
  *entry = listing_entry{
      found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0,
      static_cast<int64_t>((static_cast<uint64_t>(found.nFileSizeHigh) << 32) |
                           found.nFileSizeLow)};
  return listing_step::entry;
}

void listing_close(directory_listing* listing) {
  FindClose(listing->handle);
  delete listing;
}
