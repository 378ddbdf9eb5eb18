#include "pack/qarpack.h"

#include <cerrno>
#include <cstring>

#include "pack/directory_scan.h"
#include "pack/member_table.h"
#include "pack/pack_exit_codes.h"
#include "pack/pack_paths.h"
#include "pack/write_archive.h"
#include "platform/files.h"

namespace {

int print_usage(FILE* out) {
  std::fputs(
      "qarpack: Crude .qar file packer.\n"
      "usage: qarpack directory [file.qar]\n",
      out);
  return pack_usage_or_listing_failed;
}

// The archive must not be created over one of the files it is about to pack: truncating it
// would lose that file and pack the archive's own beginning in its place. Only a member of the
// archive's present size can be that file, so ordinary runs look at no member at all.
bool archive_is_a_member(const char* archive_name, const char* directory,
                         member_record* const* table, int32_t count) {
  file_facts archive;
  if (!file_facts_of_path(archive_name, true, &archive) || !archive.is_regular) return false;
  char member_path[path_buffer_size];
  for (int32_t k = 0; k < count; ++k) {
    file_facts member;
    if (table[k]->length == archive.size &&
        format_member_path(member_path, directory, table[k]->name) &&
        file_facts_of_path(member_path, true, &member) && same_file(member, archive)) {
      return true;
    }
  }
  return false;
}

// Everything after the scan: layout, naming, creating and writing the archive. The caller
// releases the table.
int pack_members(const char* directory, const char* named, const scan_result& scan,
                 char* path_buffer, FILE* out, FILE* err) {
  member_table_sort(scan.table, scan.count);
  const int32_t unplaceable = member_table_layout(scan.table, scan.count, scan.header_size);
  if (unplaceable >= 0) {
    std::fprintf(err, "Archive too large at file #%d ('%s')\n", unplaceable,
                 scan.table[unplaceable]->name);
    return pack_too_large;
  }
  if (!choose_archive_name(path_buffer, directory, named, err)) return pack_archive_create_failed;
  int archive = -1;
  if (archive_is_a_member(path_buffer, directory, scan.table, scan.count)) {
    errno = EINVAL;
  } else {
    archive = file_create(path_buffer);
  }
  if (archive < 0) {
    std::fprintf(err, "Error opening file '%s' for writing: %s\n", path_buffer,
                 std::strerror(errno));
    return pack_archive_create_failed;
  }
  const int code = write_archive(archive, scan.table, scan.count, directory, path_buffer, out, err);
  file_close(archive);
  return code;
}

}  // namespace

int qarpack_run(int argc, const char* const argv[], FILE* out, FILE* err) {
  if (argc < 2) return print_usage(out);
  const char* const directory = argv[1];
  const char* const named = argc > 2 ? argv[2] : nullptr;
  if (directory_operand_is_empty(directory)) {
    std::fprintf(err, "Error reading directory '%s': error %d\n", directory, EINVAL);
    return pack_usage_or_listing_failed;
  }
  char path_buffer[path_buffer_size];
  scan_result scan;
  const int scanned = scan_directory(directory, path_buffer, &scan, err);
  if (scanned != pack_ok) return scanned;
  const int code = pack_members(directory, named, scan, path_buffer, out, err);
  member_table_release(scan.table, scan.count);
  return code;
}
