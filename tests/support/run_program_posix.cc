#include "tests/support/run_program_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

const char* const line_end = "\n";
const bool on_windows = false;

namespace {

// Reads both pipes until the child has closed them, so that neither can fill up and block it.
void drain(int out, int err, program_result* result) {
  pollfd ends[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
  std::string* texts[2] = {&result->out, &result->err};
  int open_ends = 2;
  while (open_ends > 0) {
    if (poll(ends, 2, -1) < 0) return;
    for (int k = 0; k < 2; ++k) {
      if (ends[k].fd < 0 || ends[k].revents == 0) continue;
      char buffer[4096];
      const ssize_t got = read(ends[k].fd, buffer, sizeof buffer);
      if (got > 0) {
        texts[k]->append(buffer, static_cast<size_t>(got));
      } else {
        close(ends[k].fd);
        ends[k].fd = -1;
        --open_ends;
      }
    }
  }
}

}  // namespace

FILE* create_self_deleting_stream(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return nullptr;
  // Unlinked while open: the file lives exactly as long as the stream.
  unlink(path.c_str());
  return fdopen(fd, "w+");
}

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
  // Pipes, not files: a file-size limit on the program must not cut its own messages short.
  int out[2];
  int err[2];
  program_result result{-1, "", ""};
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "cannot make pipes";
    return result;
  }

  const pid_t child = fork();
  if (child == 0) {
    const int in = open("/dev/null", O_RDONLY);
    if (in < 0 || dup2(out[1], 1) < 0 || dup2(err[1], 2) < 0 || dup2(in, 0) < 0 ||
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
  close(out[1]);
  close(err[1]);
  if (child < 0) {
    close(out[0]);
    close(err[0]);
    ADD_FAILURE() << "cannot run " << executable;
    return result;
  }
  drain(out[0], err[0], &result);
  int status = 0;
  if (waitpid(child, &status, 0) != child) {
    ADD_FAILURE() << "cannot wait for " << executable;
  } else if (WIFEXITED(status)) {
    result.exit_code = WEXITSTATUS(status);
  } else {
    ADD_FAILURE() << executable << " ended by signal " << WTERMSIG(status);
  }
  return result;
}
