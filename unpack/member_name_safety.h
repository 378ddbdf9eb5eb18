// Member names come from the archive, which can come from anyone. A name is used as a path
// relative to the destination, so it must name a file in that directory and nothing else.
#pragma once

// False for names that would leave the destination or name something other than a plain file
// in it: ".", "..", and any name holding a path separator.
bool member_name_is_safe(const char* name);
