#include "unpack/member_name_safety.h"

#include <cctype>
#include <cstring>

#include "platform/files.h"

namespace {

bool is_dot_or_dot_dot(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

bool has_slash(const char* name) { return std::strchr(name, '/') != nullptr; }

// A drive ("C:x" is relative to another folder of drive C) or an alternate data stream.
bool has_backslash_or_colon(const char* name) { return std::strpbrk(name, "\\:") != nullptr; }

// Windows drops them when it opens the file, so "a." would land on "a".
bool has_trailing_dot_or_space(const char* name) {
  const size_t length = std::strlen(name);
  return length > 0 && (name[length - 1] == '.' || name[length - 1] == ' ');
}

bool has_forbidden_character(const char* name) {
  for (const unsigned char* c = reinterpret_cast<const unsigned char*>(name); *c != 0; ++c) {
    if (*c < 32 || std::strchr("<>\"|?*", *c) != nullptr) return true;
  }
  return false;
}

// The digits that make COM and LPT device names: 0 to 9 and, in the ANSI code page, the
// superscripts 1, 2 and 3.
bool is_device_digit(unsigned char c) {
  return (c >= '0' && c <= '9') || c == 0xb9 || c == 0xb2 || c == 0xb3;
}

// CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-9 and LPT0-9 name devices in every folder, in any
// case and whatever extension follows; spaces before the extension do not count.
bool is_device_name(const char* name) {
  size_t base = std::strcspn(name, ".");
  while (base > 0 && name[base - 1] == ' ') --base;
  char upper[8] = {};
  if (base >= sizeof upper) return false;
  for (size_t k = 0; k < base; ++k) {
    upper[k] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[k])));
  }
  static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* device : devices) {
    if (std::strcmp(upper, device) == 0) return true;
  }
  return base == 4 && (std::strncmp(upper, "COM", 3) == 0 || std::strncmp(upper, "LPT", 3) == 0) &&
         is_device_digit(static_cast<unsigned char>(upper[3]));
}

struct name_rule {
  bool windows_only;
  bool (*refuses)(const char* name);
};

const name_rule rules[] = {
    {false, is_dot_or_dot_dot},
    {false, has_slash},
    {true, has_backslash_or_colon},
    {true, has_trailing_dot_or_space},
    {true, has_forbidden_character},
    {true, is_device_name},
};

}  // namespace

bool member_name_is_safe(const char* name, name_rules which) {
  for (const name_rule& rule : rules) {
    if (rule.windows_only && which != name_rules::windows) continue;
    if (rule.refuses(name)) return false;
  }
  return true;
}

bool member_name_is_safe(const char* name) {
  return member_name_is_safe(name, windows_file_names ? name_rules::windows : name_rules::posix);
}
