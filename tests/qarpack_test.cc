// qarpack as a whole program: exact standard output, standard error, exit code and the bytes
// it leaves on disk.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <functional>

#include "platform/files.h"
#include "tests/support/qarpack_cases.h"

namespace fs = std::filesystem;

namespace {

std::string listing_error(const std::string& directory, int error_number) {
  return "Error reading directory '" + directory + "': error " + std::to_string(error_number) +
         "\n";
}

TEST(Qarpack, CommandLineAndArchiveName) {
  const std::string sep(1, path_separator);
  // What the listing reports: the errno of opendir, or the Win32 error of FindFirstFileA (the
  // numbers that wine gives: ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME).
  const int missing_error = on_windows ? 3 : ENOENT;
  const int not_a_directory_error = on_windows ? 123 : ENOTDIR;
  std::vector<pack_case> cases = {
      {"no operand", make_example, {}, 1, pack_usage, "", example_only},
      {"the example", make_example, {"data"}, 0, example_out, "", example_tree},
      {"one trailing separator", make_example, {"data" + sep}, 0, example_out, "", example_tree},
      {"two trailing separators", make_example, {"data" + sep + sep}, 0, example_out, "",
       example_tree},
      {"a named archive, operands beyond ignored", make_example, {"data", "x.bin", "more"}, 0,
       example_out, "", example_with("x.bin", example_archive())},
      {"a hyphen begins a directory name",
       [](const scoped_temp_dir& d) {
         make_directory(d / "-x");
         write_file(d / "-x/f", "1");
       },
       {"-x"}, 0, "Packing 'f'\n", "",
       {{"-x", "<dir>"}, {"-x/f", "1"}, {"-x.qar", archive_of({{"f", "1"}})}}},
      {"the current directory gives ..qar inside it, not packed", make_example, {"."}, 0,
       example_out, "", example_with("data/..qar", example_archive()), "data"},
      {"an empty operand", make_example, {""}, 1, "", listing_error("", EINVAL), example_only},
      {"an operand of separators only", make_example, {sep + sep}, 1, "",
       listing_error(sep + sep, EINVAL), example_only},
      {"a missing directory", make_example, {"missing"}, 1, "",
       listing_error("missing", missing_error), example_only},
      {"a file as directory", make_example, {"data/A.txt"}, 1, "",
       listing_error("data/A.txt", not_a_directory_error), example_only},
      // Windows: the pattern with "\\*" would not fit in 264 bytes (ERROR_FILENAME_EXCED_RANGE);
      // POSIX: the name is longer than a file name can be.
      {"a directory operand too long to list", make_example, {std::string(262, 'd')}, 1, "",
       listing_error(std::string(262, 'd'), on_windows ? 206 : ENAMETOOLONG), example_only},
      {"an archive in a missing folder", make_example, {"data", "nope/x.qar"}, 7, "",
       "Error opening file 'nope/x.qar' for writing: " + error_text(ENOENT) + "\n",
       example_only},
      {"an archive that would overwrite one of its members",
       [](const scoped_temp_dir& d) {
         make_example(d);
         write_file(d / "data/old.qar", "old");
       },
       {"data", "data/old.qar"}, 7, "",
       "Error opening file 'data/old.qar' for writing: " + error_text(EINVAL) + "\n",
       {{"data", "<dir>"}, {"data/A.txt", "hi"}, {"data/b.dat", "\x01\x02\x03"},
        {"data/old.qar", "old"}}},
      {"an archive that is another name of a member",
       [](const scoped_temp_dir& d) {
         make_example(d);
         fs::create_hard_link(d / "data/A.txt", d / "x.qar");
       },
       {"data", "x.qar"}, 7, "",
       "Error opening file 'x.qar' for writing: " + error_text(EINVAL) + "\n",
       example_with("x.qar", "hi")},
      {"an archive of a member's size that is another file is overwritten",
       [](const scoped_temp_dir& d) {
         make_example(d);
         write_file(d / "x.qar", "zz");
       },
       {"data", "x.qar"}, 0, example_out, "", example_with("x.qar", example_archive())},
  };
  if (on_windows) {
    // Only the backslash is stripped: a forward slash stays, and the archive lands inside.
    cases.push_back({"a trailing forward slash", make_example, {"data/"}, 0, example_out, "",
                     example_with("data/.qar", example_archive())});
  }
  run_pack_cases(cases);
}

TEST(Qarpack, WhatIsPacked) {
  run_pack_cases({
      {"an empty directory gives a count of 0",
       [](const scoped_temp_dir& d) { make_directory(d / "e"); }, {"e"}, 0, "", "",
       {{"e", "<dir>"}, {"e.qar", le32(0)}}},
      {"subdirectories are skipped, hidden files packed", make_mixed_folder, {"s"}, 0,
       "Packing '.hidden'\nPacking 'A.txt'\n", "",
       mixed_folder_with({{"s.qar", archive_of({{".hidden", "h"}, {"A.txt", "hi"}})}})},
  });
}

TEST(Qarpack, MemberPathTooLongFailsAfterTheIndex) {
  const std::string directory(200, 'd');
  const std::string fits(58, 'n');       // 200 + 1 + 58 = 259 bytes
  const std::string too_long(59, 'o');   // 260 bytes: no room for the NUL
  const std::string expected_archive =
      le32(2) + index_entry(fits, 4 + 70 + 71, 1) + index_entry(too_long, 4 + 70 + 71 + 1, 1) + "1";
  run_pack_cases({
      {"a 59-byte name after a 200-byte directory",
       [&](const scoped_temp_dir& d) {
         make_directory(d / directory);
         write_file(d / (directory + "/" + fits), "1");
         write_file(d / (directory + "/" + too_long), "2");
       },
       {directory, "a.qar"}, 13, "Packing '" + fits + "'\n",
       "Error making path " + directory + "/" + too_long + ": " + error_text(ENAMETOOLONG) + "\n",
       {{directory, "<dir>"}, {directory + "/" + fits, "1"}, {directory + "/" + too_long, "2"},
        {"a.qar", expected_archive}}},
  });
}

// Sizes past what a 32-bit field holds, shown with sparse files that use no disk.
TEST(Qarpack, SizesTheFormatCannotHoldAreRefusedBeforeTheArchive) {
  struct size_case {
    std::vector<std::pair<std::string, uintmax_t>> files;
    std::string err;
  };
  const size_case cases[] = {
      {{{"big", uintmax_t{1} << 31}}, "File #0 ('big') is too large!\n"},
      {{{"huge", uintmax_t{1} << 32}}, "File #0 ('huge') is too large!\n"},
      {{{"a", INT32_MAX}, {"b", 1}}, "Archive too large at file #1 ('b')\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.err);
    scoped_temp_dir dir;
    make_directory(dir / "s");
    for (const auto& [name, size] : c.files) {
      write_file(dir / ("s/" + name), "");
      fs::resize_file(dir / ("s/" + name), size);
    }
    const program_result result = run_program("qarpack", {"s"}, dir.path());
    EXPECT_EQ(result.exit_code, 3);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, lines(c.err));
    EXPECT_FALSE(path_exists(dir / "s.qar"));
  }
}

TEST(Qarpack, FilesComeBackByteForByte) {
  scoped_temp_dir dir;
  make_directory(dir / "src");
  std::vector<std::pair<std::string, std::string>> members;
  uint32_t seed = 1;
  for (const size_t size : {0u, 1u, 4095u, 4096u, 4097u, (1u << 20) + 3}) {
    const std::string name = "f" + std::to_string(size);
    members.emplace_back(name, random_bytes(size, seed++));
    write_file(dir / ("src/" + name), members.back().second);
  }
  const program_result packed = run_program("qarpack", {"src", "a.qar"}, dir.path());
  EXPECT_EQ(packed.exit_code, 0);
  EXPECT_EQ(packed.err, "");
  const program_result unpacked = run_program("qarunpack", {"a.qar", "out"}, dir.path());
  EXPECT_EQ(unpacked.exit_code, 0);
  EXPECT_EQ(unpacked.err, "");
  EXPECT_EQ(tree_snapshot(dir / "out"), tree_snapshot(dir / "src"));
  EXPECT_EQ(tree_snapshot(dir / "out").size(), members.size());
}

TEST(Qarpack, SameFilesGiveTheSameArchive) {
  scoped_temp_dir dir;
  const std::vector<std::string> names = {"zeta", "Alpha", "mid", "_under", "a", "a.b"};
  make_directory(dir / "one");
  make_directory(dir / "two");
  for (size_t k = 0; k < names.size(); ++k) {
    write_file(dir / ("one/" + names[k]), random_bytes(k * 100, static_cast<uint32_t>(k)));
    const size_t r = names.size() - 1 - k;
    write_file(dir / ("two/" + names[r]), random_bytes(r * 100, static_cast<uint32_t>(r)));
  }
  EXPECT_EQ(run_program("qarpack", {"one"}, dir.path()).exit_code, 0);
  EXPECT_EQ(run_program("qarpack", {"two"}, dir.path()).exit_code, 0);
  EXPECT_EQ(read_file(dir / "one.qar"), read_file(dir / "two.qar"));
  EXPECT_EQ(read_file(dir / "one.qar").size(), 4 + 6 * 12 + 22 + 1500u);
}

}  // namespace
