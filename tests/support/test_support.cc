#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

extern std::string test_binary_path;

scoped_temp_dir::scoped_temp_dir() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    std::ostringstream name;
    name << "qar-test-" << stamp << "-" << counter++;
    const fs::path candidate = fs::temp_directory_path() / name.str();
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      path_ = candidate.string();
      return;
    }
    // Only a name already taken is worth another try; anything else would repeat forever.
    if (error) {
      std::fprintf(stderr, "cannot create %s: %s\n", candidate.string().c_str(),
                   error.message().c_str());
      std::abort();
    }
  }
}

scoped_temp_dir::~scoped_temp_dir() {
  if (testing::Test::HasFailure()) {
    std::fprintf(stderr, "test folder kept: %s\n", path_.c_str());
    return;
  }
  std::error_code error;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
  fs::remove_all(path_, error);
}

std::string scoped_temp_dir::operator/(const std::string& relative) const {
  return (fs::path(path_) / relative).string();
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) ADD_FAILURE() << "cannot write " << path;
}

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool path_exists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

void make_directory(const std::string& path) {
  std::error_code error;
  if (!fs::create_directory(path, error)) ADD_FAILURE() << "cannot create " << path;
}

std::map<std::string, std::string> tree_snapshot(const std::string& root) {
  std::map<std::string, std::string> tree;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, error);
       it != fs::recursive_directory_iterator(); it.increment(error)) {
    const std::string relative = it->path().lexically_relative(root).generic_string();
    if (it->is_symlink()) {
      tree[relative] = "-> " + fs::read_symlink(it->path()).string();
    } else if (it->is_directory()) {
      tree[relative] = "<dir>";
    } else if (!it->is_regular_file()) {
      tree[relative] = "<special>";  // never opened: a FIFO would block the reader
    } else {
      tree[relative] = read_file(it->path().string());
    }
  }
  return tree;
}

std::string le32(int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xff);
  return bytes;
}

std::string index_entry(const std::string& name, int32_t offset, int32_t length) {
  return le32(static_cast<int32_t>(name.size())) + name + le32(offset) + le32(length);
}

std::string archive_of(const std::vector<std::pair<std::string, std::string>>& members) {
  int32_t offset = 4;
  for (const auto& member : members) offset += 12 + static_cast<int32_t>(member.first.size());
  std::string index = le32(static_cast<int32_t>(members.size()));
  std::string data;
  for (const auto& member : members) {
    const auto length = static_cast<int32_t>(member.second.size());
    index += index_entry(member.first, offset, length);
    data += member.second;
    offset += length;
  }
  return index + data;
}

std::string example_archive() { return archive_of({{"A.txt", "hi"}, {"b.dat", "\x01\x02\x03"}}); }

std::string random_bytes(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  uint32_t state = seed * 2654435761u + 1;
  for (auto& byte : bytes) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    byte = static_cast<char>(state >> 24);
  }
  return bytes;
}

std::string error_text(int error_number) { return std::strerror(error_number); }

FILE* open_capture_stream() {
  static auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    const fs::path path = fs::temp_directory_path() / ("qar-capture-" + std::to_string(stamp++));
    if (FILE* stream = create_self_deleting_stream(path.string())) return stream;
    if (errno != EEXIST) {
      std::perror(("cannot create " + path.string()).c_str());
      std::abort();
    }
  }
}

std::string take_stream_text(FILE* stream) {
  std::rewind(stream);
  std::string text;
  for (int c; (c = std::fgetc(stream)) != EOF;) text.push_back(static_cast<char>(c));
  std::fclose(stream);
  return text;
}

const std::string& program_directory() {
  static const std::string directory =
      fs::absolute(fs::path(test_binary_path)).parent_path().string();
  return directory;
}

std::string lines(const std::string& text) {
  std::string result;
  for (const char c : text) {
    if (c == '\n') {
      result += line_end;
    } else {
      result += c;
    }
  }
  return result;
}

bool matches_output(const std::string& pattern, const std::string& actual) {
  static const std::string wildcard = "{any}";
  const size_t at = pattern.find(wildcard);
  if (at == std::string::npos) return pattern == actual;
  if (actual.compare(0, at, pattern, 0, at) != 0) return false;
  const std::string rest = pattern.substr(at + wildcard.size());
  // The wildcard takes the shortest text, without a line break, after which the rest matches.
  for (size_t end = at; end <= actual.size(); ++end) {
    if (matches_output(rest, actual.substr(end))) return true;
    if (end < actual.size() && (actual[end] == '\n' || actual[end] == '\r')) break;
  }
  return false;
}
