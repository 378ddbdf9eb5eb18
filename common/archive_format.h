// The qar archive's fields: a member count, then per member an index entry of name length,
// name bytes, offset and length, then the members' data. Every number is a signed 32-bit
// integer stored least significant byte first.
//
// Each operation makes exactly one read or write call and fails on any other count, leaving
// errno as that call set it; the caller prints the message.
#pragma once

#include <cstdint>

// Size of the count field, where the index begins.
constexpr int32_t archive_count_size = 4;
// Bytes of an index entry besides its name: name length, offset and length.
constexpr int32_t index_entry_fixed_size = 12;

bool read_i32_field(int descriptor, int32_t* value);
bool write_i32_field(int descriptor, int32_t value);

// Name bytes travel the same way: one call of exactly `size` bytes.
bool read_exact(int descriptor, void* buffer, int32_t size);
bool write_exact(int descriptor, const void* buffer, int32_t size);
