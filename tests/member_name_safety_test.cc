#include "unpack/member_name_safety.h"

#include <gtest/gtest.h>

#include "platform/files.h"

namespace {

struct name_case {
  const char* name;
  bool safe_on_posix;
  bool safe_on_windows;
};

// Both rule sets are checked on every platform; the programs use the one of their platform.
const name_case cases[] = {
    {"A.txt", true, true},
    {".hidden", true, true},        // a leading dot is an ordinary name
    {"..data", true, true},         // only the exact parent step is refused
    {"a b", true, true},
    {"", true, true},               // harmless: creating it fails on its own
    {"CONSOLE", true, true},        // not a device: longer than CON
    {"COM10", true, true},
    {"LPTX", true, true},
    {"\xc3\xa9t\xc3\xa9", true, true},  // bytes over 0x7f are ordinary
    {".", false, false},            // the destination itself
    {"..", false, false},           // its parent
    {"a/b", false, false},          // into a subfolder
    {"../escape", false, false},    // out of the destination
    {"/etc/passwd", false, false},  // an absolute path
    {"dir/", false, false},
    {"a\\b", true, false},          // a subfolder where '\' separates
    {"..\\escape", true, false},
    {"C:x", true, false},           // relative to another folder of drive C
    {"file:stream", true, false},   // an alternate data stream
    {"a.", true, false},            // Windows would write "a"
    {"a ", true, false},
    {"a<b", true, false},
    {"what?", true, false},
    {"star*", true, false},
    {"pipe|", true, false},
    {"quote\"", true, false},
    {"tab\there", true, false},
    {"CON", true, false},
    {"con", true, false},           // in any case
    {"Nul.txt", true, false},       // with an extension
    {"AUX .tar.gz", true, false},   // spaces before the extension do not count
    {"PRN", true, false},
    {"CONIN$", true, false},
    {"conout$.log", true, false},
    {"COM0", true, false},
    {"com9.dat", true, false},
    {"LPT1", true, false},
    {"LPT\xb9", true, false},       // superscript one in the ANSI code page
    {"COM\xb2.x", true, false},
};

TEST(MemberNameSafety, EachRuleSetRefusesItsNames) {
  for (const auto& c : cases) {
    EXPECT_EQ(member_name_is_safe(c.name, name_rules::posix), c.safe_on_posix) << c.name;
    EXPECT_EQ(member_name_is_safe(c.name, name_rules::windows), c.safe_on_windows) << c.name;
  }
}

TEST(MemberNameSafety, ProgramsUseTheirPlatformsRules) {
  EXPECT_EQ(member_name_is_safe("CON"), !windows_file_names);
  EXPECT_FALSE(member_name_is_safe("../escape"));
}

}  // namespace
