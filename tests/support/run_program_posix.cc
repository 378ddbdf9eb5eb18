#include "tests/support/run_program_posix.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

const char* const line_end = "\n";
const bool on_windows = false;

namespace {
// Output goes to files rather than pipes, so that a large output can never block the child.
std::string capture_path(const char* stream) {
  return program_directory() + "/capture-" + std::to_string(getpid()) + "-" + stream;
}
}  // namespace

program_result run_program(const std::string& program, const std::vector<std::string>& args,
                           const std::string& cwd) {
  return run_program_with_file_size_limit(program, args, cwd, RLIM_INFINITY);
}

program_result run_program_with_file_size_limit(const std::string& program,
                                                const std::vector<std::string>& args,
                                                const std::string& cwd, rlim_t limit) {
  const std::string executable = program_directory() + "/" + program;
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const std::string out_path = capture_path("out");
  const std::string err_path = capture_path("err");

  const pid_t child = fork();
  if (child == 0) {
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int in = open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || dup2(in, 0) < 0 ||
        chdir(cwd.c_str()) != 0) {
      _exit(127);
    }
    if (limit != RLIM_INFINITY) {
      // A write past the limit then comes up short instead of killing the program.
      const rlimit file_size{limit, limit};
      signal(SIGXFSZ, SIG_IGN);
      if (setrlimit(RLIMIT_FSIZE, &file_size) != 0) _exit(127);
    }
    execv(executable.c_str(), argv.data());
    _exit(127);
  }
  program_result result{-1, "", ""};
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) {
    ADD_FAILURE() << "cannot run " << executable;
    return result;
  }
  if (WIFEXITED(status)) {
    result.exit_code = WEXITSTATUS(status);
  } else {
    ADD_FAILURE() << executable << " ended by signal " << WTERMSIG(status);
  }
  result.out = read_file(out_path);
  result.err = read_file(err_path);
  unlink(out_path.c_str());
  unlink(err_path.c_str());
  return result;
}
