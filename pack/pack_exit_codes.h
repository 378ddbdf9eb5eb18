// qarpack's exit codes: each names the step that failed.
#pragma once

enum pack_exit_code {
  pack_ok = 0,
  pack_usage_or_listing_failed = 1,
  pack_out_of_memory = 2,
  pack_too_large = 3,
  pack_archive_create_failed = 7,
  pack_count_write_failed = 8,
  pack_name_length_write_failed = 9,
  pack_name_write_failed = 10,
  pack_offset_write_failed = 11,
  pack_length_write_failed = 12,
  pack_member_path_failed = 13,
  pack_member_open_failed = 14,
  pack_copy_read_failed = 15,
  pack_copy_write_failed = 16,
};
