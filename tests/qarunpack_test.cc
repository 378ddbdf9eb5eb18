// qarunpack as a whole program: exact standard output, standard error, exit code and the bytes
// it leaves on disk.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <functional>

#include "tests/support/qarunpack_cases.h"

namespace {

std::string can_t_open(const std::string& path, int error_number) {
  return "Can't open qar file '" + path + "': " + error_text(error_number) + "\n";
}

TEST(Qarunpack, CommandLine) {
  const std::string example = example_archive();
  const tree extracted = {{"A.txt", "hi"}, {"b.dat", "\x01\x02\x03"}};
  const std::string listing = "File 1: 'A.txt'\nFile 2: 'b.dat'\n";
  const std::string extracting = "Extracting 'A.txt'\nExtracting 'b.dat'\n";
  run_unpack_cases({
      {"no operand", example, {}, 1, unpack_usage, "", {}},
      {"-l alone", example, {"-l"}, 1, unpack_usage, "", {}},
      {"list", example, {"-l", "a.qar"}, 0, listing, "", {}},
      {"list with a destination creates and enters it",
       example, {"-l", "a.qar", "out"}, 0, listing, "", {{"out", "<dir>"}}},
      {"extract here", example, {"a.qar"}, 0, extracting, "", extracted},
      {"extract into a new folder", example, {"a.qar", "out"}, 0, extracting, "",
       {{"out", "<dir>"}, {"out/A.txt", "hi"}, {"out/b.dat", "\x01\x02\x03"}}},
      {"extract into an existing folder, operands beyond ignored", example,
       {"a.qar", "out", "extra"}, 0, extracting, "",
       {{"out", "<dir>"}, {"out/A.txt", "hi"}, {"out/b.dat", "\x01\x02\x03"}},
       [](const scoped_temp_dir& d) { make_directory(d / "out"); }},
      {"-l after the archive is a destination", example, {"a.qar", "-l"}, 0, extracting, "",
       {{"-l", "<dir>"}, {"-l/A.txt", "hi"}, {"-l/b.dat", "\x01\x02\x03"}}},
      {"-lx is an archive path", example, {"-lx"}, 1, "", can_t_open("-lx", ENOENT), {}},
      {"-h is an archive path", example, {"-h"}, 1, "", can_t_open("-h", ENOENT), {}},
      {"--help is an archive path", example, {"--help", "out"}, 1, "",
       can_t_open("--help", ENOENT), {}},
      {"an archive path through a file", example, {"a.qar/x"}, 1, "",
       can_t_open("a.qar/x", on_windows ? ENOENT : ENOTDIR), {}},
      {"a missing archive creates no destination", example, {"missing.qar", "out"}, 1, "",
       can_t_open("missing.qar", ENOENT), {}},
      {"a destination that cannot be entered", example, {"a.qar", "plain/sub"}, 2, "",
       // Windows finds no path through a file rather than a file that is not a folder.
       "Can't chdir 'plain/sub': " + error_text(on_windows ? ENOENT : ENOTDIR) + "\n",
       {{"plain", "x"}},
       [](const scoped_temp_dir& d) { write_file(d / "plain", "x"); }},
      // Windows refuses to open a folder for reading; POSIX opens it and refuses the read.
      {"a directory as archive", example, {"-l", "d"}, on_windows ? 1 : 3, "",
       on_windows ? can_t_open("d", EACCES)
                  : "Error reading number of files: " + error_text(EISDIR) + "\n",
       {{"d", "<dir>"}}, [](const scoped_temp_dir& d) { make_directory(d / "d"); }},
  });
}

TEST(Qarunpack, IndexWalk) {
  const std::string nul_name("ab\0cd", 5);
  run_unpack_cases({
      {"an empty file", "", {"-l", "a.qar"}, 3, "", "Error reading number of files: {any}\n", {}},
      {"count 0 lists nothing", le32(0), {"-l", "a.qar"}, 0, "", "", {}},
      {"count 0 extracts nothing but the destination", le32(0), {"a.qar", "out"}, 0, "", "",
       {{"out", "<dir>"}}},
      {"a negative count reads no entry", le32(-3) + "junk", {"a.qar"}, 0, "", "", {}},
      {"entries beyond the count are never read",
       le32(1) + index_entry("x", 30, 1) + le32(-1) + "x", {"-l", "a.qar"}, 0, "File 1: 'x'\n",
       "", {}},
      {"a negative name length is refused before any allocation", le32(1) + le32(-1),
       {"-l", "a.qar"}, 6, "", "Error reading file #0 name: {any}\n", {}},
      {"a name length beyond the archive is refused", le32(1) + le32(INT32_MAX) + "abc",
       {"-l", "a.qar"}, 6, "", "Error reading file #0 name: {any}\n", {}},
      {"a name length of exactly the bytes left is read", le32(1) + le32(3) + "abc",
       {"-l", "a.qar"}, 7, "", "Error reading file #0 offset: {any}\n", {}},
      {"a name is used up to a NUL inside it", le32(1) + index_entry(nul_name, 21, 0),
       {"-l", "a.qar"}, 0, "File 1: 'ab'\n", "", {}},
      {"an empty name is listed", le32(1) + index_entry("", 16, 0), {"-l", "a.qar"}, 0,
       "File 1: ''\n", "", {}},
      {"an empty name cannot be created", le32(1) + index_entry("", 16, 0), {"a.qar"}, 11,
       "Extracting ''\n", "Can't open file #0 ('') for writing: " + error_text(ENOENT) + "\n",
       {}},
      {"an index without data ends at the first member with bytes",
       example_archive().substr(0, 38), {"a.qar"}, 12, "Extracting 'A.txt'\n",
       "Error reading from position 0 of file 'A.txt': {any}\n", {{"A.txt", ""}}},
  });
}

TEST(Qarunpack, Extraction) {
  const std::string big = random_bytes(8192, 3);
  // An entry "x" whose data is the archive's own count, then an ordinary member after it.
  const std::string into_index =
      le32(2) + index_entry("x", 0, 4) + index_entry("y", 30, 2) + "yy";
  run_unpack_cases({
      {"data running past the end keeps whole blocks", le32(1) + index_entry("big", 19, 8192) +
       big.substr(0, 5000), {"a.qar"}, 12, "Extracting 'big'\n",
       "Error reading from position 4096 of file 'big': {any}\n", {{"big", big.substr(0, 4096)}}},
      {"two entries of one name: the later wins",
       archive_of({{"same", "first"}, {"same", "second"}}), {"a.qar"}, 0,
       "Extracting 'same'\nExtracting 'same'\n", "", {{"same", "second"}}},
      {"an offset into the index, and the walk goes on", into_index, {"a.qar"}, 0,
       "Extracting 'x'\nExtracting 'y'\n", "", {{"x", le32(2)}, {"y", "yy"}}},
      {"zero-length members become empty files", archive_of({{"e", ""}, {"f", ""}, {"g", "1"}}),
       {"a.qar"}, 0, "Extracting 'e'\nExtracting 'f'\nExtracting 'g'\n", "",
       {{"e", ""}, {"f", ""}, {"g", "1"}}},
      {"a negative length gives an empty file", le32(1) + index_entry("n", 0, -7), {"a.qar"}, 0,
       "Extracting 'n'\n", "", {{"n", ""}}},
      {"an offset past the end is a valid seek", le32(1) + index_entry("p", 1000000, 0),
       {"a.qar"}, 0, "Extracting 'p'\n", "", {{"p", ""}}},
      {"existing files are overwritten", example_archive(), {"a.qar"}, 0,
       "Extracting 'A.txt'\nExtracting 'b.dat'\n", "", {{"A.txt", "hi"}, {"b.dat", "\x01\x02\x03"}},
       [](const scoped_temp_dir& d) { write_file(d / "A.txt", "a much longer old content"); }},
      {"a member file that cannot be created", example_archive(), {"a.qar"}, 11,
       "Extracting 'A.txt'\n",
       "Can't open file #0 ('A.txt') for writing: " + error_text(on_windows ? EACCES : EISDIR) +
           "\n",
       {{"A.txt", "<dir>"}}, [](const scoped_temp_dir& d) { make_directory(d / "A.txt"); }},
  });
}

TEST(Qarunpack, HostileArchives) {
  const std::string invalid = error_text(EINVAL);
  const auto refused = [&](const std::string& name) {
    return "Can't open file #0 ('" + name + "') for writing: " + invalid + "\n";
  };
  const auto one_member = [](const std::string& name) {
    return le32(1) + index_entry(name, 16 + static_cast<int32_t>(name.size()), 3) + "bad";
  };
  run_unpack_cases({
      {"offset -1 is not a successful seek", le32(1) + index_entry("m", -1, 0), {"a.qar"}, 10,
       "Extracting 'm'\n", "Can't seek to start of file file #0 ('m'): " + invalid + "\n", {}},
      {"the most negative offset", le32(1) + index_entry("m", INT32_MIN, 0), {"a.qar"}, 10,
       "Extracting 'm'\n", "Can't seek to start of file file #0 ('m'): " + invalid + "\n", {}},
      {"the name '.'", one_member("."), {"a.qar", "out"}, 11, "Extracting '.'\n", refused("."),
       {{"out", "<dir>"}}},
      {"the name '..'", one_member(".."), {"a.qar", "out"}, 11, "Extracting '..'\n",
       refused(".."), {{"out", "<dir>"}}},
      {"a parent step", one_member("../escape"), {"a.qar", "out"}, 11,
       "Extracting '../escape'\n", refused("../escape"), {{"out", "<dir>"}}},
      {"a subfolder", one_member("sub/x"), {"a.qar", "out"}, 11, "Extracting 'sub/x'\n",
       refused("sub/x"), {{"out", "<dir>"}, {"out/sub", "<dir>"}},
       [](const scoped_temp_dir& d) {
         make_directory(d / "out");
         make_directory(d / "out/sub");
       }},
      {"an absolute path", one_member("/tmp/qar-test-absolute"), {"a.qar", "out"}, 11,
       "Extracting '/tmp/qar-test-absolute'\n", refused("/tmp/qar-test-absolute"),
       {{"out", "<dir>"}}},
      {"a member of the archive's own name", one_member("a.qar"), {"a.qar"}, 11,
       "Extracting 'a.qar'\n", refused("a.qar"), {}},
      {"a member that is a hard link to the archive", one_member("h"), {"a.qar", "out"}, 11,
       "Extracting 'h'\n", refused("h"), {{"out", "<dir>"}, {"out/h", one_member("h")}},
       [](const scoped_temp_dir& d) {
         make_directory(d / "out");
         std::filesystem::create_hard_link(d / "a.qar", d / "out/h");
       }},
  });
  // Names that are plain files on POSIX but would reach elsewhere, or a device, on Windows.
  for (const std::string name : {"..\\escape", "C:x", "file:stream", "a.", "CON", "nul.txt",
                                  "LPT1", "a|b"}) {
    SCOPED_TRACE(name);
    run_unpack_cases({{"a name under Windows rules", one_member(name), {"a.qar", "out"},
                       on_windows ? 11 : 0, "Extracting '" + name + "'\n",
                       on_windows ? refused(name) : "",
                       on_windows ? tree{{"out", "<dir>"}} : tree{{"out", "<dir>"}, {"out/" + name, "bad"}}}});
  }
}

}  // namespace
