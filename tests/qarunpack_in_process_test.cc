// qarunpack called through its entry point, as the fuzzer calls it: fast enough to sweep every
// cut of an archive, and able to hand it a pipe.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "tests/support/test_support.h"
#include "unpack/qarunpack.h"

namespace {

// Runs the unpacker in `cwd` and puts the working directory back afterwards, since extraction
// into a destination makes that destination current.
program_result unpack_in_process(const std::vector<std::string>& args, const std::string& cwd) {
  std::vector<const char*> argv{"qarunpack"};
  for (const auto& arg : args) argv.push_back(arg.c_str());
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(cwd);
  FILE* out = open_capture_stream();
  FILE* err = open_capture_stream();
  const int exit_code = qarunpack_run(static_cast<int>(argv.size()), argv.data(), out, err);
  std::filesystem::current_path(previous);
  return {exit_code, take_stream_text(out), take_stream_text(err)};
}

struct member {
  std::string name;
  std::string data;
};

// What a cut of the archive at `cut` bytes must give, worked out field by field from the
// layout: the entries before the cut are handled, then the field or block the cut falls in
// is reported.
program_result expected_for_cut(const std::vector<member>& members, size_t cut, bool extract) {
  program_result expected{0, "", ""};
  if (cut < 4) return {3, "", "Error reading number of files: {any}\n"};
  size_t position = 4;
  size_t offset = 4;
  for (const auto& m : members) offset += 12 + m.name.size();
  for (size_t i = 0; i < members.size(); ++i) {
    const std::string number = std::to_string(i);
    const struct {
      size_t end;
      int code;
      std::string field;
    } fields[] = {{position + 4, 4, "name length"},
                  {position + 4 + members[i].name.size(), 6, "name"},
                  {position + 8 + members[i].name.size(), 7, "offset"},
                  {position + 12 + members[i].name.size(), 8, "length"}};
    for (const auto& field : fields) {
      if (cut < field.end) {
        expected.exit_code = field.code;
        expected.err = "Error reading file #" + number + " " + field.field + ": {any}\n";
        return expected;
      }
    }
    position = fields[3].end;
    if (!extract) {
      expected.out += "File " + std::to_string(i + 1) + ": '" + members[i].name + "'\n";
      continue;
    }
    expected.out += "Extracting '" + members[i].name + "'\n";
    const size_t available = cut > offset ? cut - offset : 0;
    if (available < members[i].data.size()) {
      expected.exit_code = 12;
      expected.err = "Error reading from position " + std::to_string(available / 4096 * 4096) +
                     " of file '" + members[i].name + "': {any}\n";
      return expected;
    }
    offset += members[i].data.size();
  }
  return expected;
}

TEST(QarunpackInProcess, EveryCutOfAnArchiveEndsAtItsField) {
  // A zero-length member first, so that extraction too reaches cuts inside the index.
  const std::vector<member> members = {
      {"empty", ""}, {"one", "1"}, {"block", random_bytes(4100, 5)}};
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const auto& m : members) pairs.emplace_back(m.name, m.data);
  const std::string archive = archive_of(pairs);

  for (size_t cut = 0; cut < archive.size(); ++cut) {
    for (const bool extract : {false, true}) {
      SCOPED_TRACE("cut at " + std::to_string(cut) + (extract ? ", extract" : ", list"));
      scoped_temp_dir dir;
      write_file(dir / "a.qar", archive.substr(0, cut));
      const program_result expected = expected_for_cut(members, cut, extract);
      const program_result result =
          unpack_in_process(extract ? std::vector<std::string>{"a.qar", "out"}
                                    : std::vector<std::string>{"-l", "a.qar"},
                            dir.path());
      EXPECT_EQ(result.exit_code, expected.exit_code);
      EXPECT_EQ(result.out, expected.out);
      EXPECT_TRUE(matches_output(expected.err, result.err)) << result.err;
    }
  }
}

}  // namespace
