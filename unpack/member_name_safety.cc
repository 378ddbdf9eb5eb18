#include "unpack/member_name_safety.h"

#include <cstring>

bool member_name_is_safe(const char* name) {
  if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
  return std::strchr(name, '/') == nullptr;
}
