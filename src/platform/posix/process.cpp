#include "platform/process.h"

#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

namespace platform {
namespace {

std::vector<std::string>& Arguments() {
  static std::vector<std::string> arguments;
  return arguments;
}

}  // namespace

void InitProcess(int argc, char** argv) {
  Arguments().assign(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::string ProgramFile() {
  // The kernel's own link names the file that was executed, whatever the
  // current folder or the name the program was started by.
  std::string buffer(PATH_MAX, '\0');
  ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0) return {};
  buffer.resize(static_cast<size_t>(n));
  return buffer;
}

std::string ProgramFolder() {
  std::string file = ProgramFile();
  return file.substr(0, file.find_last_of('/') + 1);
}

std::vector<std::string> CommandLineArguments() { return Arguments(); }

char PathSeparator() { return '/'; }

}  // namespace platform
