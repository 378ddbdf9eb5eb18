// The table runner for whole-program cases of qarpack: each case builds its files in a fresh
// folder, runs the program there, and compares exact output, exit code and every file left in
// the folder.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

using tree = std::map<std::string, std::string>;

inline const char* const pack_usage =
    "qarpack: Crude .qar file packer.\n"
    "usage: qarpack directory [file.qar]\n";

inline const std::string example_out = "Packing 'A.txt'\nPacking 'b.dat'\n";

inline void make_example(const scoped_temp_dir& d) {
  make_directory(d / "data");
  write_file(d / "data/A.txt", "hi");
  write_file(d / "data/b.dat", "\x01\x02\x03");
}

// The work folder after packing the example into `archive` beside it.
inline tree example_with(const std::string& archive_path, const std::string& archive) {
  return {{"data", "<dir>"}, {"data/A.txt", "hi"}, {"data/b.dat", "\x01\x02\x03"},
          {archive_path, archive}};
}

inline const tree example_tree = example_with("data.qar", example_archive());
inline const tree example_only = {{"data", "<dir>"}, {"data/A.txt", "hi"}, {"data/b.dat", "\x01\x02\x03"}};

// A folder "s" of two files to pack, one of them hidden, and a subfolder that is never entered.
inline void make_mixed_folder(const scoped_temp_dir& d) {
  make_directory(d / "s");
  write_file(d / "s/A.txt", "hi");
  write_file(d / "s/.hidden", "h");
  make_directory(d / "s/sub");
  write_file(d / "s/sub/deep", "never packed");
}

// The mixed folder as it stays on disk, with `more` entries added.
inline tree mixed_folder_with(const tree& more) {
  tree files = {{"s", "<dir>"}, {"s/A.txt", "hi"}, {"s/.hidden", "h"}, {"s/sub", "<dir>"},
                {"s/sub/deep", "never packed"}};
  files.insert(more.begin(), more.end());
  return files;
}

struct pack_case {
  const char* label;
  std::function<void(const scoped_temp_dir&)> setup;
  std::vector<std::string> args;
  int exit_code;
  std::string out;
  std::string err;
  tree files;  // the whole work folder afterwards
  std::string cwd = "";  // relative to the work folder
};

inline void run_pack_cases(const std::vector<pack_case>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    scoped_temp_dir dir;
    c.setup(dir);
    const program_result result = run_program("qarpack", c.args, dir / c.cwd);
    EXPECT_EQ(result.exit_code, c.exit_code);
    EXPECT_EQ(result.out, lines(c.out));
    EXPECT_EQ(result.err, lines(c.err));
    EXPECT_EQ(tree_snapshot(dir.path()), c.files);
  }
}

