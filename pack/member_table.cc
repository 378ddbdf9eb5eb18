#include "pack/member_table.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

member_record** member_table_create(int32_t n) {
  // calloc so that every record starts without a name, and an empty table is still a table.
  member_record** const table =
      static_cast<member_record**>(std::calloc(n > 0 ? static_cast<size_t>(n) : 1, sizeof(member_record*)));
  if (table == nullptr) return nullptr;
  for (int32_t k = 0; k < n; ++k) {
    table[k] = static_cast<member_record*>(std::calloc(1, sizeof(member_record)));
    if (table[k] == nullptr) {
      member_table_release(table, k);
      return nullptr;
    }
  }
  return table;
}

void member_table_release(member_record** table, int32_t n) {
  for (int32_t k = 0; k < n; ++k) {
    std::free(table[k]->name);
    std::free(table[k]);
  }
  std::free(table);
}

int member_name_order(const void* a, const void* b) {
  const member_record* const left = *static_cast<member_record* const*>(a);
  const member_record* const right = *static_cast<member_record* const*>(b);
  return std::strcmp(left->name, right->name);
}

void member_table_sort(member_record** table, int32_t n) {
  std::qsort(table, static_cast<size_t>(n), sizeof *table, member_name_order);
}

int32_t member_table_layout(member_record** table, int32_t n, int64_t header_size) {
  int64_t offset = header_size;
  for (int32_t k = 0; k < n; ++k) {
    if (offset > INT32_MAX) return k;
    table[k]->offset = static_cast<int32_t>(offset);
    offset += table[k]->length;
  }
  return -1;
}
