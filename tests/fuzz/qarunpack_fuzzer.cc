// Feeds arbitrary bytes to qarunpack as an archive, in list mode and in extract mode, and
// checks after each input that extraction stayed inside its destination: a symbolic link planted
// there points at a sentinel file outside, which must never change, and nothing may appear
// beside the destination. Leaked descriptors are caught by the lowest free descriptor moving;
// leaked memory by the sanitizer.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <system_error>

#include "platform/files.h"
#include "unpack/qarunpack.h"

namespace fs = std::filesystem;

namespace {

const char sentinel_text[] = "the sentinel outside the destination";

struct fuzz_world {
  fs::path base;
  fs::path archive;
  fs::path destination;
  fs::path sentinel;
  fs::path working_directory;  // the caller's, put back after every run
  FILE* out;
  FILE* err;
  int lowest_free_descriptor;
};

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "qarunpack_fuzzer: %s\n", what);
  std::abort();
}

int lowest_free_descriptor(const fs::path& any_file) {
  const int probe = file_open_for_reading(any_file.string().c_str());
  if (probe < 0) return -1;
  file_close(probe);
  return probe;
}

std::string contents(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

fuzz_world& world();

void remove_world() {
  fuzz_world& w = world();
  std::fclose(w.out);
  std::fclose(w.err);
  std::error_code error;
  fs::remove_all(w.base, error);
}

fuzz_world& world() {
  static fuzz_world made = [] {
    fuzz_world w;
    std::error_code error;
    // A folder of its own, so that fuzzers running side by side never share one.
    for (auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();;) {
      w.base = fs::temp_directory_path() / ("qarunpack-fuzz-" + std::to_string(stamp++));
      if (fs::create_directory(w.base, error)) break;
    }
    w.base = fs::canonical(w.base);
    w.archive = w.base / "input.qar";
    w.destination = w.base / "dest";
    w.sentinel = w.base / "sentinel";
    std::ofstream(w.sentinel, std::ios::binary) << sentinel_text;
    // Printed output is not checked; it goes to files of the world's own (std::tmpfile() can
    // fail on Windows when another process takes its name first).
    w.out = std::fopen((w.base / "out.txt").string().c_str(), "w+b");
    w.err = std::fopen((w.base / "err.txt").string().c_str(), "w+b");
    if (w.out == nullptr || w.err == nullptr) fail("cannot create the output files");
    w.working_directory = fs::current_path();
    w.lowest_free_descriptor = lowest_free_descriptor(w.sentinel);
    return w;
  }();
  // Registered once `made` is complete, so that it runs before `made` is destroyed. A run that
  // aborts on a finding skips it and leaves the folder as evidence.
  static const bool removed_at_exit = std::atexit(remove_world) == 0;
  (void)removed_at_exit;
  return made;
}

// A destination holding only the trap: a link named like a likely member, out to the sentinel.
// Where links cannot be made (Windows without the privilege), the rest still runs. Most inputs
// extract nothing, so the folder is only made anew when something landed in it.
void reset_destination(const fuzz_world& w) {
  std::error_code error;
  size_t entries = 0;
  for (auto it = fs::directory_iterator(w.destination, error); !error && it != fs::directory_iterator();
       it.increment(error)) {
    ++entries;
  }
  if (!error && entries == 1 && fs::is_symlink(w.destination / "link", error)) return;
  fs::remove_all(w.destination, error);
  fs::create_directory(w.destination);
  fs::create_symlink("../sentinel", w.destination / "link", error);
}

void run_unpacker(fuzz_world& w, std::initializer_list<std::string> args) {
  const char* argv[4] = {"qarunpack"};
  int argc = 1;
  for (const auto& arg : args) argv[argc++] = arg.c_str();
  std::rewind(w.out);
  std::rewind(w.err);
  qarunpack_run(argc, argv, w.out, w.err);
  // Extraction into a destination leaves it current.
  fs::current_path(w.working_directory);
}

void check_world(const fuzz_world& w) {
  if (contents(w.sentinel) != sentinel_text) fail("the sentinel outside the destination changed");
  const std::set<fs::path> expected = {w.archive, w.destination, w.sentinel, w.base / "out.txt",
                                       w.base / "err.txt"};
  for (const auto& entry : fs::directory_iterator(w.base)) {
    if (expected.count(entry.path()) == 0) fail("a file appeared outside the destination");
  }
  if (lowest_free_descriptor(w.sentinel) != w.lowest_free_descriptor) fail("a descriptor leaked");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_world& w = world();
  {
    std::ofstream archive(w.archive, std::ios::binary | std::ios::trunc);
    archive.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  reset_destination(w);
  run_unpacker(w, {"-l", w.archive.string()});
  run_unpacker(w, {w.archive.string(), w.destination.string()});
  check_world(w);
  return 0;
}
