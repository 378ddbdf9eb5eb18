#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "platform/directory_listing.h"

struct directory_listing {
  DIR* directory;
};

directory_listing* listing_open(const char* directory, char* /*path_buffer*/, int* error) {
  DIR* const opened = opendir(directory);
  if (opened == nullptr) {
    *error = errno;
    return nullptr;
  }
  directory_listing* const listing = new (std::nothrow) directory_listing{opened};
  if (listing == nullptr) {
    *error = ENOMEM;
    closedir(opened);
  }
  return listing;
}

namespace {

// Kinds the directory entry settles without a stat: only regular files can be members, and a
// symbolic link or an unknown kind must be looked through.
bool kind_needs_stat(unsigned char kind) { return kind == DT_LNK || kind == DT_UNKNOWN; }

}  // namespace

listing_step listing_next(directory_listing* listing, bool with_size, listing_entry* entry,
                          int* error) {
  // readdir tells the end of the listing from an error only through errno.
  errno = 0;
  const dirent* const found = readdir(listing->directory);
  if (found == nullptr) {
    if (errno == 0) return listing_step::end;
    *error = errno;
    return listing_step::failed;
  }
  *entry = listing_entry{found->d_name, found->d_type == DT_REG, 0};
  if (!entry->is_member && !kind_needs_stat(found->d_type)) return listing_step::entry;
  if (entry->is_member && !with_size) return listing_step::entry;

  // Links are followed: a link to a regular file is packed with its target's bytes.
  struct stat status;
  if (fstatat(dirfd(listing->directory), found->d_name, &status, 0) != 0) {
    // An entry that vanished since it was listed, or a link that dangles or loops, is skipped.
    if (errno == ENOENT || errno == ELOOP) {
      entry->is_member = false;
      return listing_step::entry;
    }
    *error = errno;
    return listing_step::failed;
  }
  entry->is_member = S_ISREG(status.st_mode);
  entry->size = status.st_size;
  return listing_step::entry;
}

void listing_close(directory_listing* listing) {
  closedir(listing->directory);
  delete listing;
}
