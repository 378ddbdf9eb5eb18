// Replays fuzz inputs through the fuzz target as a plain program, so that the seed corpus and
// every past finding run in the ordinary test suite, also where libFuzzer is not available.
// Usage: qarunpack_fuzz_replay FILE_OR_FOLDER...
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

namespace {

void replay(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  size_t replayed = 0;
  for (int k = 1; k < argc; ++k) {
    // Absolute before the target changes the working directory.
    const fs::path given = fs::absolute(argv[k]);
    if (fs::is_directory(given)) {
      std::vector<fs::path> inputs;
      for (const auto& entry : fs::directory_iterator(given)) inputs.push_back(entry.path());
      for (const auto& input : inputs) replay(input);
      replayed += inputs.size();
    } else {
      replay(given);
      ++replayed;
    }
  }
  std::printf("replayed %zu inputs\n", replayed);
  return replayed > 0 ? 0 : 1;
}
