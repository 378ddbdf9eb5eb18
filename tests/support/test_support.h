// Helpers shared by the tests: real temporary folders, files as byte strings, archives built
// field by field, and running the programs as whole processes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// A fresh folder per test, removed when the test passed and kept, with its path printed, when it
// failed, so that a failure leaves its evidence.
class scoped_temp_dir {
 public:
  scoped_temp_dir();
  ~scoped_temp_dir();
  scoped_temp_dir(const scoped_temp_dir&) = delete;
  scoped_temp_dir& operator=(const scoped_temp_dir&) = delete;

  const std::string& path() const { return path_; }
  // The path of `relative` inside this folder.
  std::string operator/(const std::string& relative) const;

 private:
  std::string path_;
};

void write_file(const std::string& path, const std::string& bytes);
std::string read_file(const std::string& path);
bool path_exists(const std::string& path);
void make_directory(const std::string& path);

// Every file and folder below `root`, by relative path: a file maps to its bytes, a folder to
// "<dir>", a symbolic link to "-> target", anything else (a FIFO, a socket) to "<special>". Comparing two snapshots compares bytes on disk.
std::map<std::string, std::string> tree_snapshot(const std::string& root);

// A 32-bit field as the archive stores it.
std::string le32(int32_t value);

// One index entry, with the name length taken from the name.
std::string index_entry(const std::string& name, int32_t offset, int32_t length);

// A well-formed archive of the given members, laid out as the packer lays them out, in the
// order given.
std::string archive_of(const std::vector<std::pair<std::string, std::string>>& members);

// The worked example: A.txt holding "hi" and b.dat holding 01 02 03, 43 bytes.
std::string example_archive();

// Bytes that no compression could make out of order: a deterministic pseudo-random sequence.
std::string random_bytes(size_t size, uint32_t seed);

std::string error_text(int error_number);

// A fresh, empty stream for an in-process run to print into, backed by a file that goes away
// when the stream is closed. Made here rather than by std::tmpfile(), which on Windows picks a
// name that another process can take before the file is opened, and then returns null.
FILE* open_capture_stream();

// Creates `path` (failing with EEXIST if it exists) and opens it for reading and writing in
// binary mode; the file is removed once the stream is closed. Each platform's runner file has it.
FILE* create_self_deleting_stream(const std::string& path);

// Everything written to a capture stream from its start; the stream is closed.
std::string take_stream_text(FILE* stream);

struct program_result {
  int exit_code;
  std::string out;
  std::string err;
};

// Runs a program built beside the test binary ("qarpack" or "qarunpack") with `args`, in the
// folder `cwd`, with standard output and error captured. On Windows the captured text keeps
// the CR LF the program wrote.
program_result run_program(const std::string& program, const std::vector<std::string>& args,
                           const std::string& cwd);

// The folder holding the test binary and the programs, and the platform's line end.
const std::string& program_directory();
extern const char* const line_end;

// Where Windows and POSIX differ in what a test can expect, the tests say so as data.
extern const bool on_windows;

// Expected output with the platform's line ends: every "\n" in `text` becomes `line_end`.
std::string lines(const std::string& text);

// True when `actual` matches `pattern`, in which each "{any}" stands for any text within one
// line: an error text the tests must not pin.
bool matches_output(const std::string& pattern, const std::string& actual);
