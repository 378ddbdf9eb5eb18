// Descriptor-level file access and the working directory: the calls whose flags, modes and
// file identities differ between POSIX and the Windows C runtime. Every function reports failure
// the way the runtime does (a negative result or false, with errno set) and prints nothing.
#pragma once

#include <cstdint>

// The character that joins a directory and a name in the paths the packer builds.
extern const char path_separator;

// True where file names follow Windows rules: reserved device names, more forbidden characters.
extern const bool windows_file_names;

// Opens a file for reading in binary mode; -1 on failure.
int file_open_for_reading(const char* path);

// Creates or truncates a file for writing in binary mode with mode 0644; -1 on failure.
int file_create(const char* path);

// As file_create, but never writes through a symbolic link that stands at the path: such a
// path fails with ELOOP, and the link and its target stay untouched.
int file_create_no_follow(const char* path);

// One read or write call; the count moved, or -1.
int32_t file_read(int descriptor, void* buffer, int32_t size);
int32_t file_write(int descriptor, const void* buffer, int32_t size);

// lseek with SEEK_SET or SEEK_CUR; the resulting position, or -1.
int64_t file_seek(int descriptor, int64_t offset, int whence);

void file_close(int descriptor);

// Creates one directory level with mode 0755 (where the platform has modes); -1 on failure.
int directory_create(const char* path);

// Makes the directory current; -1 on failure.
int directory_enter(const char* path);

// What the programs need to know of an open file or of a path: whether it is a regular file,
// its size, and which file it is, so that two names of one file can be recognised.
struct file_facts {
  bool is_regular;
  int64_t size;
  uint64_t volume;
  uint64_t file_index;
};

bool file_facts_of_descriptor(int descriptor, file_facts* facts);

// The facts of what stands at the path: of the path itself, or with `follow_links` of what a
// symbolic link there leads to. False when nothing stands there or it cannot be examined.
bool file_facts_of_path(const char* path, bool follow_links, file_facts* facts);

inline bool same_file(const file_facts& a, const file_facts& b) {
  return a.volume == b.volume && a.file_index == b.file_index;
}
