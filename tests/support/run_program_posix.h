// Running a program under limits that only POSIX can set.
#pragma once

#include <sys/resource.h>

#include "tests/support/test_support.h"

// As run_program, with every file the program writes limited to `limit` bytes (RLIMIT_FSIZE),
// and SIGXFSZ ignored so that a write past it comes up short.
program_result run_program_with_file_size_limit(const std::string& program,
                                                const std::vector<std::string>& args,
                                                const std::string& cwd, rlim_t limit);
