// The whole qarunpack program as a function: lists or extracts the archive that the operands
// name, prints progress to `out` and the one failure line to `err`, and returns the exit code.
// It never exits the process; with a destination directory it leaves that directory current.
#pragma once

#include <cstdio>

int qarunpack_run(int argc, const char* const argv[], FILE* out, FILE* err);
