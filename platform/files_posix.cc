#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"

const char path_separator = '/';
const bool windows_file_names = false;

namespace {
constexpr mode_t new_file_mode = 0644;
constexpr mode_t new_directory_mode = 0755;

void facts_from_stat(const struct stat& status, file_facts* facts) {
  facts->is_regular = S_ISREG(status.st_mode);
  facts->size = status.st_size;
  facts->volume = static_cast<uint64_t>(status.st_dev);
  facts->file_index = static_cast<uint64_t>(status.st_ino);
}
}  // namespace

int file_open_for_reading(const char* path) { return open(path, O_RDONLY | O_CLOEXEC); }

int file_create(const char* path) {
  return open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, new_file_mode);
}

int file_create_no_follow(const char* path) {
  return open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, new_file_mode);
}

int32_t file_read(int descriptor, void* buffer, int32_t size) {
  return static_cast<int32_t>(read(descriptor, buffer, static_cast<size_t>(size)));
}

int32_t file_write(int descriptor, const void* buffer, int32_t size) {
  return static_cast<int32_t>(write(descriptor, buffer, static_cast<size_t>(size)));
}

int64_t file_seek(int descriptor, int64_t offset, int whence) {
  return lseek(descriptor, static_cast<off_t>(offset), whence);
}

void file_close(int descriptor) { close(descriptor); }

int directory_create(const char* path) { return mkdir(path, new_directory_mode); }

int directory_enter(const char* path) { return chdir(path); }

bool file_facts_of_descriptor(int descriptor, file_facts* facts) {
  struct stat status;
  if (fstat(descriptor, &status) != 0) return false;
  facts_from_stat(status, facts);
  return true;
}

bool file_facts_of_path(const char* path, bool follow_links, file_facts* facts) {
  struct stat status;
  if (fstatat(AT_FDCWD, path, &status, follow_links ? 0 : AT_SYMLINK_NOFOLLOW) != 0) return false;
  facts_from_stat(status, facts);
  return true;
}
