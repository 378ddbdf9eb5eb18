#include "pack/member_table.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A table whose records hold the given names and lengths, as the scan would leave it.
member_record** table_of(const std::vector<std::pair<std::string, int32_t>>& members) {
  member_record** const table = member_table_create(static_cast<int32_t>(members.size()));
  for (size_t k = 0; k < members.size(); ++k) {
    table[k]->name = static_cast<char*>(std::malloc(members[k].first.size() + 1));
    std::memcpy(table[k]->name, members[k].first.c_str(), members[k].first.size() + 1);
    table[k]->name_length = static_cast<int32_t>(members[k].first.size());
    table[k]->length = members[k].second;
  }
  return table;
}

TEST(MemberTable, SortsNamesByUnsignedBytes) {
  const std::vector<std::pair<std::string, int32_t>> members = {
      {"b", 0}, {"B", 0}, {"a.txt", 0}, {"a", 0}, {"_x", 0}, {"\xc3\xa9", 0}, {"~", 0}};
  member_record** const table = table_of(members);
  member_table_sort(table, static_cast<int32_t>(members.size()));
  std::vector<std::string> sorted;
  for (size_t k = 0; k < members.size(); ++k) sorted.emplace_back(table[k]->name);
  // Upper case before the underscore before lower case; a prefix first; bytes over 0x7f last.
  EXPECT_EQ(sorted, (std::vector<std::string>{"B", "_x", "a", "a.txt", "b", "~", "\xc3\xa9"}));
  member_table_release(table, static_cast<int32_t>(members.size()));
}

TEST(MemberTable, LaysOutOffsetsInTableOrder) {
  member_record** const table = table_of({{"x", 10}, {"y", 0}, {"z", 5}});
  EXPECT_EQ(member_table_layout(table, 3, 50), -1);
  EXPECT_EQ(table[0]->offset, 50);
  EXPECT_EQ(table[1]->offset, 60);
  EXPECT_EQ(table[2]->offset, 60);
  member_table_release(table, 3);
}

TEST(MemberTable, EmptyTableIsATable) {
  member_record** const table = member_table_create(0);
  ASSERT_NE(table, nullptr);
  member_table_sort(table, 0);
  EXPECT_EQ(member_table_layout(table, 0, 4), -1);
  member_table_release(table, 0);
}

TEST(MemberTable, LayoutNamesTheFirstOffsetPastTheFieldsRange) {
  struct overflow_case {
    int64_t header_size;
    std::vector<std::pair<std::string, int32_t>> members;
    int32_t first_unplaceable;
  };
  const overflow_case cases[] = {
      // The last offset is exactly 2^31 - 1: it fits, although the member ends past it.
      {4, {{"a", INT32_MAX - 4}, {"b", 100}}, -1},
      {4, {{"a", INT32_MAX - 3}, {"b", 0}}, 1},
      {4, {{"a", INT32_MAX}, {"b", INT32_MAX}, {"c", 0}}, 1},
      // A header that itself passes the range leaves no room for the first member.
      {int64_t{INT32_MAX} + 1, {{"a", 0}}, 0},
  };
  for (const auto& c : cases) {
    const auto n = static_cast<int32_t>(c.members.size());
    member_record** const table = table_of(c.members);
    EXPECT_EQ(member_table_layout(table, n, c.header_size), c.first_unplaceable);
    member_table_release(table, n);
  }
}

}  // namespace
