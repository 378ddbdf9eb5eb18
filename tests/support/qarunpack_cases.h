// The table runner for whole-program cases of qarunpack: each case writes its archive to a.qar in
// a fresh folder, runs the program there, and compares exact output, exit code and every file
// left in the folder. The archive itself must never change.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

using tree = std::map<std::string, std::string>;

inline const char* const unpack_usage =
    "qarunpack: Crude .qar file unpacker.\n"
    "usage: qarunpack -l file.qar (only lists the archive contents)\n"
    "usage: qarunpack file.qar [destdir]\n";

struct unpack_case {
  const char* label;
  std::string archive;  // written to a.qar in the work folder before the run
  std::vector<std::string> args;
  int exit_code;
  std::string out;
  std::string err;   // may hold {any} where the error text is not pinned
  tree files;        // the work folder afterwards, a.qar left out
  std::function<void(const scoped_temp_dir&)> setup = nullptr;
};

inline void run_unpack_cases(const std::vector<unpack_case>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    scoped_temp_dir dir;
    write_file(dir / "a.qar", c.archive);
    if (c.setup) c.setup(dir);
    const program_result result = run_program("qarunpack", c.args, dir.path());
    EXPECT_EQ(result.exit_code, c.exit_code);
    EXPECT_EQ(result.out, lines(c.out));
    EXPECT_TRUE(matches_output(lines(c.err), result.err)) << "stderr: " << result.err;
    tree files = tree_snapshot(dir.path());
    EXPECT_EQ(files["a.qar"], c.archive) << "the archive is never changed";
    files.erase("a.qar");
    EXPECT_EQ(files, c.files);
  }
}

