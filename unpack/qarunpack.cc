#include "unpack/qarunpack.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/archive_format.h"
#include "unpack/archive_reader.h"
#include "unpack/extract_member.h"
#include "unpack/unpack_exit_codes.h"

namespace {

// Where the archive's size cannot be known (a pipe), a name longer than this is taken for
// damage rather than allocated.
constexpr int32_t unsized_archive_name_limit = 1 << 20;

enum class unpack_mode { list, extract };

int print_usage(FILE* out) {
  std::fputs(
      "qarunpack: Crude .qar file unpacker.\n"
      "usage: qarunpack -l file.qar (only lists the archive contents)\n"
      "usage: qarunpack file.qar [destdir]\n",
      out);
  return unpack_usage_or_open_failed;
}

bool read_index_field(archive_reader* archive, int32_t* value) {
  if (!read_i32_field(archive->descriptor, value)) return false;
  archive->index_position += 4;
  return true;
}

// A name length is refused before it sizes a buffer when no archive could hold that many
// name bytes after this point.
bool name_length_is_plausible(const archive_reader& archive, int32_t name_length) {
  if (name_length < 0) return false;
  if (!archive.facts_known || !archive.facts.is_regular) {
    return name_length <= unsized_archive_name_limit;
  }
  return name_length <= archive.facts.size - archive.index_position;
}

// Reads the fields after the name and lists or extracts the entry; `name` is already read.
int finish_entry(archive_reader* archive, unpack_mode mode, int32_t entry, const char* name,
                 FILE* out, FILE* err) {
  int32_t offset;
  if (!read_index_field(archive, &offset)) {
    std::fprintf(err, "Error reading file #%d offset: %s\n", entry, std::strerror(errno));
    return unpack_offset_read_failed;
  }
  int32_t length;
  if (!read_index_field(archive, &length)) {
    std::fprintf(err, "Error reading file #%d length: %s\n", entry, std::strerror(errno));
    return unpack_length_read_failed;
  }
  if (mode == unpack_mode::list) {
    std::fprintf(out, "File %d: '%s'\n", entry + 1, name);
    return unpack_ok;
  }
  return extract_member(*archive, entry, name, offset, length, out, err);
}

// Handles one index entry; the name lives only while its entry is handled.
int unpack_entry(archive_reader* archive, unpack_mode mode, int32_t entry, FILE* out, FILE* err) {
  int32_t name_length;
  if (!read_index_field(archive, &name_length)) {
    std::fprintf(err, "Error reading file #%d name length: %s\n", entry, std::strerror(errno));
    return unpack_name_length_read_failed;
  }
  // An implausible length is reported as the name read that it would make fail.
  if (!name_length_is_plausible(*archive, name_length)) {
    std::fprintf(err, "Error reading file #%d name: %s\n", entry, std::strerror(errno));
    return unpack_name_read_failed;
  }
  char* const name = static_cast<char*>(std::malloc(static_cast<size_t>(name_length) + 1));
  if (name == nullptr) {
    std::fprintf(err, "Out of memory for file #%d name: %s\n", entry, std::strerror(errno));
    return unpack_name_allocation_failed;
  }
  int code;
  if (read_exact(archive->descriptor, name, name_length)) {
    archive->index_position += name_length;
    name[name_length] = '\0';
    code = finish_entry(archive, mode, entry, name, out, err);
  } else {
    std::fprintf(err, "Error reading file #%d name: %s\n", entry, std::strerror(errno));
    code = unpack_name_read_failed;
  }
  std::free(name);
  return code;
}

// Everything after the archive is open; the caller closes it.
int unpack_archive(int descriptor, unpack_mode mode, const char* destination, FILE* out,
                   FILE* err) {
  if (destination != nullptr) {
    // It may exist already; only entering it has to succeed.
    directory_create(destination);
    if (directory_enter(destination) != 0) {
      std::fprintf(err, "Can't chdir '%s': %s\n", destination, std::strerror(errno));
      return unpack_destination_failed;
    }
  }
  archive_reader archive{descriptor, {}, false, 0};
  archive.facts_known = file_facts_of_descriptor(descriptor, &archive.facts);

  int32_t count;
  if (!read_index_field(&archive, &count)) {
    std::fprintf(err, "Error reading number of files: %s\n", std::strerror(errno));
    return unpack_count_read_failed;
  }
  for (int32_t entry = 0; entry < count; ++entry) {
    const int code = unpack_entry(&archive, mode, entry, out, err);
    if (code != unpack_ok) return code;
  }
  return unpack_ok;
}

}  // namespace

int qarunpack_run(int argc, const char* const argv[], FILE* out, FILE* err) {
  if (argc < 2) return print_usage(out);
  unpack_mode mode = unpack_mode::extract;
  int first = 1;
  if (std::strcmp(argv[1], "-l") == 0) {
    if (argc < 3) return print_usage(out);
    mode = unpack_mode::list;
    first = 2;
  }
  const char* const archive_path = argv[first];
  const char* const destination = first + 1 < argc ? argv[first + 1] : nullptr;

  const int descriptor = file_open_for_reading(archive_path);
  if (descriptor < 0) {
    std::fprintf(err, "Can't open qar file '%s': %s\n", archive_path, std::strerror(errno));
    return unpack_usage_or_open_failed;
  }
  const int code = unpack_archive(descriptor, mode, destination, out, err);
  file_close(descriptor);
  return code;
}
