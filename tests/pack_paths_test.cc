#include "pack/pack_paths.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "platform/files.h"
#include "tests/support/test_support.h"

namespace {

// The text printed on a stream during `action`.
template <typename Action>
std::string printed(Action action) {
  FILE* stream = open_capture_stream();
  action(stream);
  return take_stream_text(stream);
}

TEST(PackPaths, MemberPathFitsIn260BytesWithItsNul) {
  const std::string directory(200, 'd');
  char buffer[path_buffer_size];
  const std::string fits(58, 'n');
  std::string err = printed([&](FILE* e) {
    EXPECT_TRUE(compose_member_path(buffer, directory.c_str(), fits.c_str(), e));
  });
  EXPECT_EQ(err, "");
  EXPECT_EQ(std::string(buffer), directory + path_separator + fits);
  EXPECT_EQ(std::string(buffer).size(), 259u);

  const std::string too_long(59, 'n');
  err = printed([&](FILE* e) {
    EXPECT_FALSE(compose_member_path(buffer, directory.c_str(), too_long.c_str(), e));
  });
  EXPECT_EQ(err, "Error making path " + directory + "/" + too_long + ": " +
                     error_text(ENAMETOOLONG) + "\n");
}

TEST(PackPaths, ArchiveNameFollowsTheDirectoryOperand) {
  const std::string sep(1, path_separator);
  struct name_case {
    std::string directory;
    const char* named;
    std::string archive;
  };
  const name_case cases[] = {
      {"data", nullptr, "data.qar"},
      {"data" + sep, nullptr, "data.qar"},
      {"data" + sep + sep, nullptr, "data.qar"},
      {"some" + sep + "path" + sep + "data" + sep, nullptr, "some" + sep + "path" + sep + "data.qar"},
      {".", nullptr, "..qar"},
      {"-x", nullptr, "-x.qar"},  // no switches: a hyphen begins a directory name
      {"data", "out.bin", "out.bin"},
      {"data", "-l", "-l"},
  };
  for (const auto& c : cases) {
    char buffer[path_buffer_size];
    const std::string err = printed([&](FILE* e) {
      EXPECT_TRUE(choose_archive_name(buffer, c.directory.c_str(), c.named, e));
    });
    EXPECT_EQ(err, "");
    EXPECT_EQ(std::string(buffer), c.archive) << c.directory;
  }
}

TEST(PackPaths, ArchiveNameTooLongIsReportedWhole) {
  struct long_case {
    std::string directory;
    std::string named;  // empty: no second operand
    bool fits;
  };
  const long_case cases[] = {
      {std::string(259, 'd'), "", true},    // 259 + ".qar" + NUL = 264
      {std::string(260, 'd'), "", false},
      {"data", std::string(263, 'n'), true},
      {"data", std::string(264, 'n'), false},
  };
  for (const auto& c : cases) {
    char buffer[path_buffer_size];
    const char* named = c.named.empty() ? nullptr : c.named.c_str();
    const std::string err = printed([&](FILE* e) {
      EXPECT_EQ(choose_archive_name(buffer, c.directory.c_str(), named, e), c.fits);
    });
    const std::string whole = named ? c.named : c.directory + ".qar";
    EXPECT_EQ(err, c.fits ? "" : "Error opening file '" + whole + "' for writing: " +
                                     error_text(ENAMETOOLONG) + "\n");
  }
}

TEST(PackPaths, OperandOfOnlySeparatorsIsEmpty) {
  const std::string sep(1, path_separator);
  EXPECT_TRUE(directory_operand_is_empty(""));
  EXPECT_TRUE(directory_operand_is_empty(sep.c_str()));
  EXPECT_TRUE(directory_operand_is_empty((sep + sep).c_str()));
  EXPECT_FALSE(directory_operand_is_empty("."));
  EXPECT_FALSE(directory_operand_is_empty(("a" + sep).c_str()));
}

}  // namespace
