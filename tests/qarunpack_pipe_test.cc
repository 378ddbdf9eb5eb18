// An archive read from a pipe, whose size cannot be known in advance.
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>

#include "tests/support/test_support.h"
#include "unpack/qarunpack.h"

namespace {

TEST(QarunpackPipe, NameLengthIsBoundedWhereTheSizeIsUnknown) {
  struct pipe_case {
    int32_t name_length;
    int exit_code;
  };
  const pipe_case cases[] = {
      {3, 0},                // an ordinary name is read
      {(1 << 20) + 1, 6},    // just over 1 MiB: refused before it is allocated
      {INT32_MAX, 6},
      {-1, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name_length);
    const std::string archive = le32(1) + le32(c.name_length) + "abc" + le32(0) + le32(0);
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_EQ(write(ends[1], archive.data(), archive.size()), static_cast<ssize_t>(archive.size()));
    close(ends[1]);
    const std::string path = "/dev/fd/" + std::to_string(ends[0]);
    const char* argv[] = {"qarunpack", "-l", path.c_str()};
    FILE* out = open_capture_stream();
    FILE* err = open_capture_stream();
    EXPECT_EQ(qarunpack_run(3, argv, out, err), c.exit_code);
    std::rewind(err);
    char line[200] = "";
    if (std::fgets(line, sizeof line, err) == nullptr) line[0] = '\0';
    EXPECT_TRUE(matches_output(c.exit_code == 0 ? "" : "Error reading file #0 name: {any}\n", line));
    std::fclose(out);
    std::fclose(err);
    close(ends[0]);
  }
}

}  // namespace

namespace {

TEST(QarunpackPipe, ExtractingFromAPipeFailsWhereItMustSeek) {
  scoped_temp_dir dir;
  const std::string archive = le32(1) + index_entry("m", 17, 1) + "x";
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  ASSERT_EQ(write(ends[1], archive.data(), archive.size()), static_cast<ssize_t>(archive.size()));
  close(ends[1]);
  const std::string path = "/dev/fd/" + std::to_string(ends[0]);
  const std::string destination = dir / "out";
  const char* argv[] = {"qarunpack", path.c_str(), destination.c_str()};
  const std::string previous = std::filesystem::current_path().string();
  FILE* out = open_capture_stream();
  FILE* err = open_capture_stream();
  EXPECT_EQ(qarunpack_run(3, argv, out, err), 9);
  std::filesystem::current_path(previous);
  char line[200] = "";
  std::rewind(out);
  EXPECT_NE(std::fgets(line, sizeof line, out), nullptr);
  EXPECT_STREQ(line, "Extracting 'm'\n");
  std::rewind(err);
  EXPECT_NE(std::fgets(line, sizeof line, err), nullptr);
  EXPECT_EQ(std::string(line),
            "Can't find descriptor position for file #0 ('m'): " + error_text(ESPIPE) + "\n");
  EXPECT_FALSE(path_exists(dir / "out/m"));
  std::fclose(out);
  std::fclose(err);
  close(ends[0]);
}

}  // namespace
