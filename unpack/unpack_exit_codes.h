// qarunpack's exit codes: each names the step that failed.
#pragma once

enum unpack_exit_code {
  unpack_ok = 0,
  unpack_usage_or_open_failed = 1,
  unpack_destination_failed = 2,
  unpack_count_read_failed = 3,
  unpack_name_length_read_failed = 4,
  unpack_name_allocation_failed = 5,
  unpack_name_read_failed = 6,
  unpack_offset_read_failed = 7,
  unpack_length_read_failed = 8,
  unpack_position_failed = 9,
  unpack_seek_to_data_failed = 10,
  unpack_member_create_failed = 11,
  unpack_copy_read_failed = 12,
  unpack_copy_write_failed = 13,
  unpack_seek_back_failed = 14,
};
