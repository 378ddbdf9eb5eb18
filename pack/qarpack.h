// The whole qarpack program as a function: packs the files that lie directly in the directory
// operand into an archive, prints progress to `out` and the one failure line to `err`, and
// returns the exit code. It never exits the process.
#pragma once

#include <cstdio>

int qarpack_run(int argc, const char* const argv[], FILE* out, FILE* err);
