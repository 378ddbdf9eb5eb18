// qarunpack against what only POSIX file systems offer here: symbolic links at a member's path.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "tests/support/qarunpack_cases.h"

namespace {

TEST(QarunpackPosix, SymbolicLinksAtMemberPathsAreNeverFollowed) {
  run_unpack_cases({
      {"a symbolic link at a member's path is not followed", example_archive(), {"a.qar", "out"},
       11, "Extracting 'A.txt'\n",
       "Can't open file #0 ('A.txt') for writing: " + error_text(ELOOP) + "\n",
       {{"out", "<dir>"}, {"out/A.txt", "-> ../target"}, {"target", "keep"}},
       [](const scoped_temp_dir& d) {
         make_directory(d / "out");
         write_file(d / "target", "keep");
         std::filesystem::create_symlink("../target", d / "out/A.txt");
       }},
      {"a dangling symbolic link creates nothing", example_archive(), {"a.qar", "out"}, 11,
       "Extracting 'A.txt'\n",
       "Can't open file #0 ('A.txt') for writing: " + error_text(ELOOP) + "\n",
       {{"out", "<dir>"}, {"out/A.txt", "-> ../created"}},
       [](const scoped_temp_dir& d) {
         make_directory(d / "out");
         std::filesystem::create_symlink("../created", d / "out/A.txt");
       }},
  });
}

}  // namespace
