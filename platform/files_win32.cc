#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>

#include "platform/files.h"

const char path_separator = '\\';
const bool windows_file_names = true;

namespace {

// The C runtime takes Windows permission bits only: 0644 becomes read and write for the owner.
constexpr int new_file_mode = _S_IREAD | _S_IWRITE;

bool facts_from_handle(HANDLE handle, file_facts* facts) {
  BY_HANDLE_FILE_INFORMATION information;
  if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &information)) {
    return false;
  }
  facts->is_regular = GetFileType(handle) == FILE_TYPE_DISK &&
                      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  facts->size = static_cast<int64_t>(
      (static_cast<uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow);
  // The runtime's inode numbers are always 0 here; the volume serial number and file index are
  // what tell two names of one file apart.
  facts->volume = information.dwVolumeSerialNumber;
  facts->file_index =
      (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
  return true;
}

}  // namespace

int file_open_for_reading(const char* path) {
  return _open(path, _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int file_create(const char* path) {
  return _open(path, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, new_file_mode);
}

int file_create_no_follow(const char* path) {
  // The runtime's open always follows a symbolic link (a reparse point), so one standing at the
  // path is refused before the open.
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    errno = ELOOP;
    return -1;
  }
  return file_create(path);
}

int32_t file_read(int descriptor, void* buffer, int32_t size) {
  return _read(descriptor, buffer, static_cast<unsigned>(size));
}

int32_t file_write(int descriptor, const void* buffer, int32_t size) {
  return _write(descriptor, buffer, static_cast<unsigned>(size));
}

int64_t file_seek(int descriptor, int64_t offset, int whence) {
  return _lseeki64(descriptor, offset, whence);
}

void file_close(int descriptor) { _close(descriptor); }

// Windows directories have no mode bits to give.
int directory_create(const char* path) { return _mkdir(path); }

int directory_enter(const char* path) { return _chdir(path); }

bool file_facts_of_descriptor(int descriptor, file_facts* facts) {
  return facts_from_handle(reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)), facts);
}

bool file_facts_of_path(const char* path, bool follow_links, file_facts* facts) {
  // No access rights are asked for: the handle only serves to read the file's identity.
  const DWORD flags =
      FILE_FLAG_BACKUP_SEMANTICS | (follow_links ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  const HANDLE handle =
      CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool known = facts_from_handle(handle, facts);
  CloseHandle(handle);
  return known;
}
