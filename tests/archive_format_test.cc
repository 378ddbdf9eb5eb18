#include "common/archive_format.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/files.h"
#include "tests/support/test_support.h"

namespace {

TEST(ArchiveFormat, FieldsAreLittleEndianTwosComplementAndReadBack) {
  struct field_case {
    int32_t value;
    const char* bytes;
  };
  const field_case cases[] = {
      {0, "\x00\x00\x00\x00"},
      {38, "\x26\x00\x00\x00"},
      {0x12345678, "\x78\x56\x34\x12"},
      {-1, "\xff\xff\xff\xff"},
      {INT32_MAX, "\xff\xff\xff\x7f"},
      {INT32_MIN, "\x00\x00\x00\x80"},
  };
  scoped_temp_dir dir;
  const std::string path = dir / "fields";
  const int out = file_create(path.c_str());
  ASSERT_GE(out, 0);
  std::string expected;
  for (const auto& c : cases) {
    EXPECT_TRUE(write_i32_field(out, c.value));
    expected.append(c.bytes, 4);
  }
  file_close(out);
  EXPECT_EQ(read_file(path), expected);

  const int in = file_open_for_reading(path.c_str());
  ASSERT_GE(in, 0);
  for (const auto& c : cases) {
    int32_t value = 0;
    EXPECT_TRUE(read_i32_field(in, &value));
    EXPECT_EQ(value, c.value);
  }
  int32_t value = 0;
  EXPECT_FALSE(read_i32_field(in, &value)) << "a read at the end of the file is a failure";
  file_close(in);
}

TEST(ArchiveFormat, ShortFieldAndShortNameAreFailures) {
  scoped_temp_dir dir;
  const std::string path = dir / "short";
  write_file(path, "abc");
  const int in = file_open_for_reading(path.c_str());
  ASSERT_GE(in, 0);
  int32_t value = 0;
  EXPECT_FALSE(read_i32_field(in, &value)) << "three bytes do not make a field";
  file_close(in);

  const int again = file_open_for_reading(path.c_str());
  char name[4];
  EXPECT_FALSE(read_exact(again, name, 4));
  file_close(again);
}

}  // namespace
