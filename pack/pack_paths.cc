#include "pack/pack_paths.h"

#include <cerrno>
#include <cstring>

#include "platform/files.h"

namespace {

// Length of the directory operand without its trailing separators.
size_t stem_length(const char* directory) {
  size_t length = std::strlen(directory);
  while (length > 0 && directory[length - 1] == path_separator) --length;
  return length;
}

}  // namespace

bool format_member_path(char* buffer, const char* directory, const char* name) {
  const int written =
      std::snprintf(buffer, member_path_limit, "%s%c%s", directory, path_separator, name);
  return written >= 0 && static_cast<size_t>(written) < member_path_limit;
}

bool compose_member_path(char* buffer, const char* directory, const char* name, FILE* err) {
  if (format_member_path(buffer, directory, name)) return true;
  errno = ENAMETOOLONG;
  std::fprintf(err, "Error making path %s/%s: %s\n", directory, name, std::strerror(errno));
  return false;
}

bool directory_operand_is_empty(const char* directory) { return stem_length(directory) == 0; }

bool choose_archive_name(char* buffer, const char* directory, const char* named, FILE* err) {
  static const char extension[] = ".qar";
  const char* stem = named;
  size_t length = 0;
  const char* suffix = "";
  if (named != nullptr) {
    length = std::strlen(named);
  } else {
    stem = directory;
    length = stem_length(directory);
    suffix = extension;
  }
  const size_t needed = length + std::strlen(suffix) + 1;
  if (needed > path_buffer_size) {
    errno = ENAMETOOLONG;
    std::fprintf(err, "Error opening file '%.*s%s' for writing: %s\n", static_cast<int>(length),
                 stem, suffix, std::strerror(errno));
    return false;
  }
  std::memcpy(buffer, stem, length);
  std::memcpy(buffer + length, suffix, std::strlen(suffix) + 1);
  return true;
}
