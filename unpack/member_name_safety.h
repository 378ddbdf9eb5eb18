// Member names come from the archive, which can come from anyone. A name is used as a path
// relative to the destination, so it must name a plain file in that directory and nothing else.
#pragma once

enum class name_rules { posix, windows };

// False for a name that would leave the destination or name something other than a file in
// it: everywhere ".", ".." and any '/'; under Windows rules also '\' and ':', a trailing dot or
// space, the characters Windows forbids, and the reserved device names.
bool member_name_is_safe(const char* name, name_rules rules);

// The same under the rules of the platform the program runs on.
bool member_name_is_safe(const char* name);
