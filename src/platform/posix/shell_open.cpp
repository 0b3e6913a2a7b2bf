#include "platform/shell_open.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {

void ShellOpen(const std::string& address) {
  // xdg-open is the desktop's own dispatcher for addresses. It is started
  // detached through a short-lived middle process, so no zombie is left and
  // the window never waits on a browser.
  pid_t middle = fork();
  if (middle < 0) return;
  if (middle == 0) {
    setsid();
    const char* argv[] = {"xdg-open", address.c_str(), nullptr};
    pid_t child;
    posix_spawnp(&child, "xdg-open", nullptr, nullptr, const_cast<char**>(argv), environ);
    _exit(0);
  }
  int status = 0;
  waitpid(middle, &status, 0);
}

}  // namespace platform
