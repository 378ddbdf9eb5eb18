// Short writes on a real file: the programs run with a file-size limit, so that a block write
// stores only part of its bytes, and the partly written file must hold what the message says.
#include <gtest/gtest.h>

#include "tests/support/run_program_posix.h"

namespace {

TEST(FileSizeLimit, PackerArchiveHittingTheLimit) {
  scoped_temp_dir dir;
  make_directory(dir / "d");
  const std::string member = random_bytes(10000, 4);
  write_file(dir / "d/m", member);
  const std::string index = le32(1) + index_entry("m", 17, 10000);
  const program_result got = run_program_with_file_size_limit("qarpack", {"d", "a.qar"}, dir.path(), 5000);
  EXPECT_EQ(got.exit_code, 16);
  EXPECT_EQ(got.out, "Packing 'm'\n");
  // The write that stores part of its block sets no error number: the text is not pinned.
  EXPECT_TRUE(matches_output("Error writing from position 4096 of file 'd/m': {any}\n", got.err));
  // The index, the 4096 bytes the message reports, and the part of the next block that fit.
  EXPECT_EQ(read_file(dir / "a.qar"), (index + member).substr(0, 5000));
}

TEST(FileSizeLimit, PackerIndexHittingTheLimitAtEachField) {
  // One member "m" (name length 1): its index entry spans bytes 4 to 16 of the archive. A limit
  // at the start of a field makes that field's write fail outright, with EFBIG.
  struct field_case {
    rlim_t limit;
    int exit_code;
    const char* field;
  };
  const field_case cases[] = {
      {4, 9, "name length"},
      {8, 10, "name"},
      {9, 11, "offset"},
      {13, 12, "length"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    scoped_temp_dir dir;
    make_directory(dir / "d");
    write_file(dir / "d/m", "data");
    const program_result got =
        run_program_with_file_size_limit("qarpack", {"d", "a.qar"}, dir.path(), c.limit);
    EXPECT_EQ(got.exit_code, c.exit_code);
    EXPECT_EQ(got.out, "");
    EXPECT_EQ(got.err, std::string("Error writing file #0 ") + c.field + ": " + error_text(EFBIG) + "\n");
    EXPECT_EQ(read_file(dir / "a.qar"), (le32(1) + index_entry("m", 17, 4)).substr(0, c.limit));
  }
}

TEST(FileSizeLimit, UnpackerMemberHittingTheLimit) {
  scoped_temp_dir dir;
  const std::string member = random_bytes(10000, 5);
  write_file(dir / "a.qar", archive_of({{"small", "ok"}, {"m", member}}));
  const program_result got =
      run_program_with_file_size_limit("qarunpack", {"a.qar", "out"}, dir.path(), 5000);
  EXPECT_EQ(got.exit_code, 13);
  EXPECT_EQ(got.out, "Extracting 'small'\nExtracting 'm'\n");
  EXPECT_TRUE(matches_output("Error writing from position 4096 of file 'm': {any}\n", got.err));
  EXPECT_EQ(read_file(dir / "out/small"), "ok");
  EXPECT_EQ(read_file(dir / "out/m"), member.substr(0, 5000));
}

}  // namespace
