// A directory listing that plays back a script, for tests of the scan: each listing_open takes
// the next pass of the script, so a test can make the directory change between two passes or
// make a listing fail part way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct fake_entry {
  std::string name;
  bool is_member = true;
  int64_t size = 0;
  int fail_with = 0;  // when not 0, this step fails with that error number instead
};

struct fake_pass {
  std::vector<fake_entry> entries;
  int open_fails_with = 0;
};

// The passes still to be played; each listing_open takes the first.
extern std::vector<fake_pass> fake_listing_script;
