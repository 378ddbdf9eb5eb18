// The packer's plan of the archive: one record per file to pack, sorted by name, with the
// offset each member's data will have.
#pragma once

#include <cstdint>

struct member_record {
  // The fields of the record's index entry, in index order.
  int32_t name_length;
  char* name;  // owned, NUL-terminated; null until the scan fills the record
  int32_t offset;
  int32_t length;
};

// The table is an array of n pointers to records; it owns the records, and they their names.
// Null on failure, with everything allocated so far released. n = 0 succeeds.
member_record** member_table_create(int32_t n);

// Releases every record (and its name, where it has one) and the array.
void member_table_release(member_record** table, int32_t n);

// qsort comparison over the pointer array: names compared as unsigned bytes, as strcmp does.
int member_name_order(const void* a, const void* b);

void member_table_sort(member_record** table, int32_t n);

// Gives record 0 the offset header_size and each further record the end of the one before,
// in table order. Returns -1 when every offset fits a 32-bit field, or else the number of the
// first record whose offset would pass 2^31 - 1 (the offsets from it on are not set).
int32_t member_table_layout(member_record** table, int32_t n, int64_t header_size);
