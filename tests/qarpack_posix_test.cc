// qarpack against what only POSIX systems offer here: symbolic links, FIFOs, /dev/full.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "tests/support/qarpack_cases.h"

namespace fs = std::filesystem;

namespace {

TEST(QarpackPosix, OnlyRegularFilesAndLinksToThemArePacked) {
  const std::string hidden_and_link =
      archive_of({{".hidden", "h"}, {"A.txt", "hi"}, {"file-link", "hi"}});
  run_pack_cases({
      {"only regular files, links to them included",
       [](const scoped_temp_dir& d) {
         make_mixed_folder(d);
         fs::create_symlink("A.txt", d / "s/file-link");
         fs::create_symlink("sub", d / "s/dir-link");
         fs::create_symlink("nowhere", d / "s/dangling");
         fs::create_symlink("loop", d / "s/loop");
         ASSERT_EQ(mkfifo((d / "s/fifo").c_str(), 0644), 0);
       },
       {"s"}, 0, "Packing '.hidden'\nPacking 'A.txt'\nPacking 'file-link'\n", "",
       mixed_folder_with({{"s/file-link", "-> A.txt"}, {"s/dir-link", "-> sub"},
                          {"s/dangling", "-> nowhere"}, {"s/loop", "-> loop"},
                          {"s/fifo", "<special>"}, {"s.qar", hidden_and_link}})},
      {"the archive to a device that refuses writes", make_example, {"data", "/dev/full"}, 8, "",
       "Error writing number of files: " + error_text(ENOSPC) + "\n", example_only},
  });
}

}  // namespace
