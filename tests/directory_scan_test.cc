// The scan and the packer over a scripted listing: directories that change between the two
// passes, listings that fail, sizes no real disk here should be asked to hold, and members
// whose files change between the scan and the copy.
#include "pack/directory_scan.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>

#include "pack/qarpack.h"
#include "platform/files.h"
#include "tests/support/fake_directory_listing.h"
#include "tests/support/test_support.h"
#include "unpack/qarunpack.h"

namespace {

struct scan_outcome {
  int exit_code;
  std::string err;
  std::vector<std::string> names;
  std::vector<int32_t> lengths;
  int64_t header_size;
};

scan_outcome scan(const std::vector<fake_pass>& script) {
  fake_listing_script = script;
  char path_buffer[264];
  scan_result result{nullptr, 0, 0};
  FILE* err = open_capture_stream();
  scan_outcome outcome{scan_directory("dir", path_buffer, &result, err), "", {}, {}, 0};
  outcome.err = take_stream_text(err);
  if (outcome.exit_code == 0) {
    for (int32_t k = 0; k < result.count; ++k) {
      outcome.names.emplace_back(result.table[k]->name);
      outcome.lengths.push_back(result.table[k]->length);
    }
    outcome.header_size = result.header_size;
    member_table_release(result.table, result.count);
  }
  EXPECT_TRUE(fake_listing_script.empty()) << "not every scripted pass was listed";
  return outcome;
}

fake_entry member(const std::string& name, int64_t size = 1) { return {name, true, size, 0}; }
fake_entry other(const std::string& name) { return {name, false, 0, 0}; }
fake_entry failure(int error_number) { return {"", true, 0, error_number}; }

TEST(DirectoryScan, FillsRecordsInListingOrderAndAddsUpTheHeader) {
  const fake_pass pass{{other("."), other(".."), member("b.dat", 3), other("sub"),
                        member("A.txt", 2)}};
  const scan_outcome got = scan({pass, pass});
  EXPECT_EQ(got.exit_code, 0);
  EXPECT_EQ(got.names, (std::vector<std::string>{"b.dat", "A.txt"}));
  EXPECT_EQ(got.lengths, (std::vector<int32_t>{3, 2}));
  EXPECT_EQ(got.header_size, 38);
}

TEST(DirectoryScan, NothingToPackIsAnEmptyTable) {
  const fake_pass pass{{other("."), other(".."), other("sub")}};
  const scan_outcome got = scan({pass, pass});
  EXPECT_EQ(got.exit_code, 0);
  EXPECT_TRUE(got.names.empty());
  EXPECT_EQ(got.header_size, 4);
}

TEST(DirectoryScan, DirectoryChangingBetweenPassesNeverOverfillsTheTable) {
  struct change_case {
    const char* label;
    fake_pass first, second;
    std::vector<std::string> names;
    int64_t header_size;
  };
  const change_case cases[] = {
      {"grew: the table stops at its size", {{member("a"), member("b")}},
       {{member("a"), member("new"), member("b")}}, {"a", "new"}, 4 + 13 + 15},
      {"shrank: the table is cut to what was filled", {{member("a"), member("b"), member("c")}},
       {{member("a"), other("b"), member("c")}}, {"a", "c"}, 4 + 13 + 13},
      {"emptied", {{member("a")}}, {{}}, {}, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const scan_outcome got = scan({c.first, c.second});
    EXPECT_EQ(got.exit_code, 0);
    EXPECT_EQ(got.names, c.names);
    EXPECT_EQ(got.header_size, c.header_size);
  }
}

TEST(DirectoryScan, ListingFailuresInEitherPass) {
  const std::string message = "Error reading directory 'dir': error ";
  const fake_pass good{{member("a"), member("b")}};
  struct failure_case {
    const char* label;
    std::vector<fake_pass> script;
    int exit_code;
    std::string err;
  };
  const failure_case cases[] = {
      {"first open", {{{}, ENOENT}}, 1, message + std::to_string(ENOENT) + "\n"},
      {"first pass", {{{member("a"), failure(EIO)}}}, 1, message + std::to_string(EIO) + "\n"},
      {"second open", {good, {{}, EACCES}}, 1, message + std::to_string(EACCES) + "\n"},
      {"second pass", {good, {{member("a"), failure(EIO)}}}, 1,
       message + std::to_string(EIO) + "\n"},
      // Sizes a signed 32-bit length cannot hold; the number is the place in listing order.
      {"2 GiB", {{{member("z"), member("big", int64_t{1} << 31)}},
                 {{member("z"), member("big", int64_t{1} << 31)}}},
       3, "File #1 ('big') is too large!\n"},
      {"4 GiB", {{{member("huge", int64_t{1} << 32)}}, {{member("huge", int64_t{1} << 32)}}},
       3, "File #0 ('huge') is too large!\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const scan_outcome got = scan(c.script);
    EXPECT_EQ(got.exit_code, c.exit_code);
    EXPECT_EQ(got.err, c.err);
  }
  const scan_outcome largest = scan({{{member("max", INT32_MAX)}}, {{member("max", INT32_MAX)}}});
  EXPECT_EQ(largest.exit_code, 0);
  EXPECT_EQ(largest.lengths, std::vector<int32_t>{INT32_MAX});
}

// Runs the packer over a scripted listing whose names stand in the real folder `dir/d`.
program_result pack_scripted(const scoped_temp_dir& dir, const std::vector<fake_entry>& entries) {
  fake_listing_script = {{entries}, {entries}};
  const std::string directory = dir / "d";
  const std::string archive = dir / "a.qar";
  const char* argv[] = {"qarpack", directory.c_str(), archive.c_str()};
  FILE* out = open_capture_stream();
  FILE* err = open_capture_stream();
  const int exit_code = qarpack_run(3, argv, out, err);
  return {exit_code, take_stream_text(out), take_stream_text(err)};
}

TEST(PackScripted, MemberGoneAfterTheScanFailsAfterTheIndex) {
  scoped_temp_dir dir;
  make_directory(dir / "d");
  write_file(dir / "d/a", "x");
  const program_result got = pack_scripted(dir, {member("a", 1), member("gone", 3)});
  EXPECT_EQ(got.exit_code, 14);
  EXPECT_EQ(got.out, "Packing 'a'\nPacking 'gone'\n");
  EXPECT_EQ(got.err, "Can't open file '" + (dir / "d") + path_separator + "gone' for reading: " +
                         error_text(ENOENT) + "\n");
  // The whole index and the data before the failing member stay.
  EXPECT_EQ(read_file(dir / "a.qar"), le32(2) + index_entry("a", 33, 1) +
                                          index_entry("gone", 34, 3) + "x");
}

TEST(PackScripted, MemberThatShrankEndsWithWholeBlocks) {
  scoped_temp_dir dir;
  make_directory(dir / "d");
  const std::string bytes = random_bytes(5000, 9);
  write_file(dir / "d/m", bytes);
  const program_result got = pack_scripted(dir, {member("m", 9000)});
  EXPECT_EQ(got.exit_code, 15);
  EXPECT_EQ(got.out, "Packing 'm'\n");
  EXPECT_TRUE(matches_output(
      "Error reading from position 4096 of file '" + (dir / "d") + path_separator + "m': {any}\n",
      got.err));
  EXPECT_EQ(read_file(dir / "a.qar"), le32(1) + index_entry("m", 17, 9000) + bytes.substr(0, 4096));
}

TEST(PackScripted, MemberThatGrewIsCopiedAsScanned) {
  scoped_temp_dir dir;
  make_directory(dir / "d");
  write_file(dir / "d/m", "0123456789");
  const program_result got = pack_scripted(dir, {member("m", 4)});
  EXPECT_EQ(got.exit_code, 0);
  EXPECT_EQ(got.err, "");
  EXPECT_EQ(read_file(dir / "a.qar"), le32(1) + index_entry("m", 17, 4) + "0123");
}

}  // namespace
