#include "pack/directory_scan.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/archive_format.h"
#include "pack/pack_exit_codes.h"
#include "platform/directory_listing.h"

namespace {

int report_listing_failure(const char* directory, int error, FILE* err) {
  std::fprintf(err, "Error reading directory '%s': error %d\n", directory, error);
  return pack_usage_or_listing_failed;
}

int count_members(const char* directory, char* path_buffer, int32_t* count, FILE* err) {
  int error = 0;
  directory_listing* const listing = listing_open(directory, path_buffer, &error);
  if (listing == nullptr) return report_listing_failure(directory, error, err);
  *count = 0;
  listing_entry entry;
  listing_step step;
  while ((step = listing_next(listing, false, &entry, &error)) == listing_step::entry) {
    if (entry.is_member) ++*count;
  }
  const int code =
      step == listing_step::end ? pack_ok : report_listing_failure(directory, error, err);
  listing_close(listing);
  return code;
}

// Fills record `i` from a member entry of the second pass.
int fill_record(member_record* record, int32_t i, const listing_entry& entry, FILE* err) {
  const size_t name_length = std::strlen(entry.name);
  record->name = static_cast<char*>(std::malloc(name_length + 1));
  if (record->name == nullptr) {
    std::fprintf(err, "Out of memory for record #%d ('%s'): error %d\n", i, entry.name, errno);
    return pack_out_of_memory;
  }
  std::memcpy(record->name, entry.name, name_length + 1);
  record->name_length = static_cast<int32_t>(name_length);
  // A size that a signed 32-bit length cannot hold is refused, not wrapped.
  if (entry.size > INT32_MAX) {
    std::fprintf(err, "File #%d ('%s') is too large!\n", i, entry.name);
    return pack_too_large;
  }
  record->length = static_cast<int32_t>(entry.size);
  return pack_ok;
}

// The second pass. The directory may have changed since the first: records beyond the table
// are never written, and a table that finds fewer members is cut to those it filled.
int fill_members(const char* directory, char* path_buffer, scan_result* result, FILE* err) {
  int error = 0;
  directory_listing* const listing = listing_open(directory, path_buffer, &error);
  if (listing == nullptr) return report_listing_failure(directory, error, err);
  int32_t filled = 0;
  listing_entry entry;
  listing_step step = listing_step::end;
  int code = pack_ok;
  while (code == pack_ok && filled < result->count &&
         (step = listing_next(listing, true, &entry, &error)) == listing_step::entry) {
    if (!entry.is_member) continue;
    code = fill_record(result->table[filled], filled, entry, err);
    if (code != pack_ok) break;
    result->header_size += index_entry_fixed_size + result->table[filled]->name_length;
    ++filled;
  }
  if (code == pack_ok && filled < result->count && step == listing_step::failed) {
    code = report_listing_failure(directory, error, err);
  }
  listing_close(listing);
  if (code == pack_ok && filled < result->count) {
    // The records past `filled` have no name yet; they go now so none reaches the writer.
    for (int32_t k = filled; k < result->count; ++k) std::free(result->table[k]);
    result->count = filled;
  }
  return code;
}

}  // namespace

int scan_directory(const char* directory, char* path_buffer, scan_result* result, FILE* err) {
  int32_t count = 0;
  const int counted = count_members(directory, path_buffer, &count, err);
  if (counted != pack_ok) return counted;

  member_record** const table = member_table_create(count);
  if (table == nullptr) {
    std::fprintf(err, "Out of memory for %d records\n: %s\n", count, std::strerror(errno));
    return pack_out_of_memory;
  }
  *result = scan_result{table, count, archive_count_size};
  const int code = fill_members(directory, path_buffer, result, err);
  if (code != pack_ok) member_table_release(result->table, result->count);
  return code;
}
