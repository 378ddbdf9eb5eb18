#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_support.h"

// Set from argv[0]: the programs under test are built into the same folder as the test binary.
std::string test_binary_path;

int main(int argc, char** argv) {
  // Made absolute by the support code before any test changes the working directory.
  test_binary_path = argv[0];
  program_directory();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
