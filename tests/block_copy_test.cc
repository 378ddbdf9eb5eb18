#include "common/block_copy.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "tests/support/test_support.h"

namespace {

struct copy_fixture {
  scoped_temp_dir dir;
  std::string source_path = dir / "source";
  std::string destination_path = dir / "destination";
};

// Copies `length` bytes of a source file holding `source_size` bytes into a new file.
copy_result copy_file(copy_fixture& f, size_t source_size, int32_t length) {
  write_file(f.source_path, random_bytes(source_size, 7));
  const int source = file_open_for_reading(f.source_path.c_str());
  const int destination = file_create(f.destination_path.c_str());
  EXPECT_GE(source, 0);
  EXPECT_GE(destination, 0);
  const copy_result result = block_copy(source, destination, length);
  file_close(source);
  file_close(destination);
  return result;
}

TEST(BlockCopy, CopiesWholeMembersAcrossBlockBoundaries) {
  for (const int32_t length : {0, 1, 4095, 4096, 4097, 3 * 4096 + 17}) {
    copy_fixture f;
    // The source holds more than the member: the copy must stop at the member's length.
    const copy_result result = copy_file(f, static_cast<size_t>(length) + 100, length);
    EXPECT_EQ(result.status, copy_status::done) << length;
    EXPECT_EQ(result.position, length);
    EXPECT_EQ(read_file(f.destination_path), random_bytes(static_cast<size_t>(length) + 100, 7).substr(0, static_cast<size_t>(length)));
  }
}

TEST(BlockCopy, NegativeLengthCopiesNothing) {
  copy_fixture f;
  const copy_result result = copy_file(f, 10, -5);
  EXPECT_EQ(result.status, copy_status::done);
  EXPECT_EQ(result.position, 0);
  EXPECT_EQ(read_file(f.destination_path), "");
}

TEST(BlockCopy, SourceEndingInsideSecondBlockReportsItsStart) {
  copy_fixture f;
  const copy_result result = copy_file(f, 6000, 8192);
  EXPECT_EQ(result.status, copy_status::short_read);
  EXPECT_EQ(result.position, 4096);
  // The bytes the short read did deliver are not written.
  EXPECT_EQ(read_file(f.destination_path), random_bytes(6000, 7).substr(0, 4096));
}

TEST(BlockCopy, ReportsEachFailureWithItsPositionAndName) {
  struct report_case {
    copy_result result;
    const char* expected_prefix;
  };
  const report_case cases[] = {
      {{copy_status::short_read, 4096}, "Error reading from position 4096 of file 'm.bin': "},
      {{copy_status::short_write, 0}, "Error writing from position 0 of file 'm.bin': "},
  };
  for (const auto& c : cases) {
    scoped_temp_dir dir;
    FILE* err = std::fopen((dir / "err").c_str(), "wb+");
    ASSERT_NE(err, nullptr);
    errno = ENOSPC;
    report_copy_failure(err, c.result, "m.bin");
    std::fclose(err);
    EXPECT_EQ(read_file(dir / "err"), std::string(c.expected_prefix) + error_text(ENOSPC) + "\n");
  }
}

}  // namespace
