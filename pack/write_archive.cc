#include "pack/write_archive.h"

#include <cerrno>
#include <cstring>

#include "common/archive_format.h"
#include "common/block_copy.h"
#include "pack/pack_exit_codes.h"
#include "pack/pack_paths.h"
#include "platform/files.h"

namespace {

int write_index_entry(int archive, const member_record& record, int32_t i, FILE* err) {
  if (!write_i32_field(archive, record.name_length)) {
    std::fprintf(err, "Error writing file #%d name length: %s\n", i, std::strerror(errno));
    return pack_name_length_write_failed;
  }
  if (!write_exact(archive, record.name, record.name_length)) {
    std::fprintf(err, "Error writing file #%d name: %s\n", i, std::strerror(errno));
    return pack_name_write_failed;
  }
  if (!write_i32_field(archive, record.offset)) {
    std::fprintf(err, "Error writing file #%d offset: %s\n", i, std::strerror(errno));
    return pack_offset_write_failed;
  }
  if (!write_i32_field(archive, record.length)) {
    std::fprintf(err, "Error writing file #%d length: %s\n", i, std::strerror(errno));
    return pack_length_write_failed;
  }
  return pack_ok;
}

int write_member_data(int archive, const member_record& record, const char* directory,
                      char* path_buffer, FILE* out, FILE* err) {
  if (!compose_member_path(path_buffer, directory, record.name, err)) {
    return pack_member_path_failed;
  }
  std::fprintf(out, "Packing '%s'\n", record.name);
  const int member = file_open_for_reading(path_buffer);
  if (member < 0) {
    std::fprintf(err, "Can't open file '%s' for reading: %s\n", path_buffer, std::strerror(errno));
    return pack_member_open_failed;
  }
  const copy_result copied = block_copy(member, archive, record.length);
  int code = pack_ok;
  if (copied.status != copy_status::done) {
    report_copy_failure(err, copied, path_buffer);
    code = copied.status == copy_status::short_read ? pack_copy_read_failed
                                                    : pack_copy_write_failed;
  }
  file_close(member);
  return code;
}

}  // namespace

int write_archive(int archive, member_record* const* table, int32_t count, const char* directory,
                  char* path_buffer, FILE* out, FILE* err) {
  if (!write_i32_field(archive, count)) {
    std::fprintf(err, "Error writing number of files: %s\n", std::strerror(errno));
    return pack_count_write_failed;
  }
  for (int32_t i = 0; i < count; ++i) {
    const int code = write_index_entry(archive, *table[i], i, err);
    if (code != pack_ok) return code;
  }
  for (int32_t i = 0; i < count; ++i) {
    const int code = write_member_data(archive, *table[i], directory, path_buffer, out, err);
    if (code != pack_ok) return code;
  }
  return pack_ok;
}
