#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

const char* const line_end = "\r\n";
const bool on_windows = true;

namespace {

// Quotes one argument so that the child's runtime splits it back unchanged: backslashes are
// doubled only where a quote follows them.
std::string quoted(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string result = "\"";
  size_t backslashes = 0;
  for (const char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    result.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    result += c;
  }
  result.append(2 * backslashes, '\\');
  return result + "\"";
}

HANDLE inheritable_file(const std::string& path, bool write) {
  SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

FILE* create_self_deleting_stream(const std::string& path) {
  // _O_TEMPORARY: Windows deletes the file when its last handle closes.
  const int fd = _open(path.c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_TEMPORARY,
                       _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  return _fdopen(fd, "w+b");
}

program_result run_program(const std::string& program, const std::vector<std::string>& args,
                           const std::string& cwd) {
  const std::string executable = program_directory() + "\\" + program + ".exe";
  std::string command_line = quoted(executable);
  for (const auto& arg : args) command_line += " " + quoted(arg);
  const std::string stem =
      program_directory() + "\\capture-" + std::to_string(GetCurrentProcessId()) + "-";

  program_result result{-1, "", ""};
  const HANDLE out = inheritable_file(stem + "out", true);
  const HANDLE err = inheritable_file(stem + "err", true);
  const HANDLE in = inheritable_file("NUL", false);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  if (CreateProcessA(executable.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     cwd.c_str(), &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result.exit_code = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    ADD_FAILURE() << "cannot run " << executable << ": error " << GetLastError();
  }
  CloseHandle(out);
  CloseHandle(err);
  CloseHandle(in);
  result.out = read_file(stem + "out");
  result.err = read_file(stem + "err");
  DeleteFileA((stem + "out").c_str());
  DeleteFileA((stem + "err").c_str());
  return result;
}
