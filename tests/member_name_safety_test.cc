#include "unpack/member_name_safety.h"

#include <gtest/gtest.h>

namespace {

TEST(MemberNameSafety, RefusesNamesThatLeaveTheDestination) {
  struct name_case {
    const char* name;
    bool safe;
  };
  const name_case cases[] = {
      {"A.txt", true},
      {".hidden", true},      // a leading dot is an ordinary name
      {"..data", true},       // only the exact parent step is refused
      {"a b", true},
      {"", true},             // harmless: creating it fails on its own
      {".", false},           // the destination itself
      {"..", false},          // its parent
      {"a/b", false},         // into a subfolder
      {"../escape", false},   // out of the destination
      {"/etc/passwd", false}, // an absolute path
      {"dir/", false},
  };
  for (const auto& c : cases) EXPECT_EQ(member_name_is_safe(c.name), c.safe) << c.name;
}

}  // namespace
