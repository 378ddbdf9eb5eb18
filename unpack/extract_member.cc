#include "unpack/extract_member.h"

#include <cerrno>
#include <cstring>

#include "common/block_copy.h"
#include "unpack/member_name_safety.h"
#include "unpack/unpack_exit_codes.h"

namespace {

// A name that is unsafe, or that is another name of the archive being read (extracting in place
// an archive holding a member of its own name), is refused before anything is truncated.
int create_member_file(const archive_reader& archive, const char* name) {
  if (!member_name_is_safe(name)) {
    errno = EINVAL;
    return -1;
  }
  file_facts existing;
  if (archive.facts_known && file_facts_of_path(name, false, &existing) &&
      same_file(existing, archive.facts)) {
    errno = EINVAL;
    return -1;
  }
  return file_create_no_follow(name);
}

// A negative offset is refused before the seek: -1 would otherwise pass for the seek's own
// failure value.
bool seek_to_data(int descriptor, int32_t offset) {
  if (offset < 0) {
    errno = EINVAL;
    return false;
  }
  return file_seek(descriptor, offset, SEEK_SET) == offset;
}

}  // namespace

int extract_member(const archive_reader& archive, int32_t entry, const char* name, int32_t offset,
                   int32_t length, FILE* out, FILE* err) {
  std::fprintf(out, "Extracting '%s'\n", name);

  const int64_t index_position = file_seek(archive.descriptor, 0, SEEK_CUR);
  if (index_position < 0) {
    std::fprintf(err, "Can't find descriptor position for file #%d ('%s'): %s\n", entry, name,
                 std::strerror(errno));
    return unpack_position_failed;
  }

  if (!seek_to_data(archive.descriptor, offset)) {
    std::fprintf(err, "Can't seek to start of file file #%d ('%s'): %s\n", entry, name,
                 std::strerror(errno));
    return unpack_seek_to_data_failed;
  }

  const int member = create_member_file(archive, name);
  if (member < 0) {
    std::fprintf(err, "Can't open file #%d ('%s') for writing: %s\n", entry, name,
                 std::strerror(errno));
    return unpack_member_create_failed;
  }
  const copy_result copied = block_copy(archive.descriptor, member, length);
  if (copied.status != copy_status::done) {
    report_copy_failure(err, copied, name);
    file_close(member);
    return copied.status == copy_status::short_read ? unpack_copy_read_failed
                                                    : unpack_copy_write_failed;
  }
  file_close(member);

  if (file_seek(archive.descriptor, index_position, SEEK_SET) != index_position) {
    std::fprintf(err, "Can't seek back from file #%d data: %s\n", entry, std::strerror(errno));
    return unpack_seek_back_failed;
  }
  return unpack_ok;
}
