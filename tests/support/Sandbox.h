#pragma once
// Points every per-user location the registry backend looks at into one
// temp folder, so no test touches the real home.
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "support/TempDir.h"

struct RegistrySandbox {
  testing_support::TempDir dir;
  testing_support::ScopedEnv store{"QUILLMOOR_REGISTRY", dir / "registry.db"};
  testing_support::ScopedEnv home{"HOME", dir / "home"};
  testing_support::ScopedEnv config{"XDG_CONFIG_HOME", dir / "config"};
  testing_support::ScopedEnv data{"XDG_DATA_HOME", dir / "data"};
  testing_support::ScopedEnv cache{"XDG_CACHE_HOME", dir / "cache"};
};

// Runs `body` in a child process as the user nobody and gives its exit
// status; -1 when the child could not drop root.
inline int RunAsNobody(const std::function<int()>& body) {
  pid_t pid = fork();
  if (pid == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(255);
    _exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status)) return -2;
  return WEXITSTATUS(status) == 255 ? -1 : WEXITSTATUS(status);
}
