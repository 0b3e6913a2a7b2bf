#pragma once
#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace testing_support {

// Runs `body` in a forked child and returns its exit status, or -1 when it
// did not exit normally. The child never returns into the test framework.
inline int RunInChild(const std::function<int()>& body) {
  pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    int status = 255;
    try {
      status = body();
    } catch (...) {
      status = 254;
    }
    _exit(status);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

inline constexpr unsigned kNobody = 65534;

// Becomes the user nobody for good; false when that is impossible.
inline bool BecomeNobody() {
  return setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0 && getuid() == kNobody;
}

// A child's exit status meaning "this environment cannot run the test".
inline constexpr int kChildCannotRun = 77;

// A child process that holds a file open until it is told to go.
class FileHolder {
 public:
  explicit FileHolder(const std::string& path) {
    int ready[2], release[2];
    if (pipe(ready) != 0 || pipe(release) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(release[1]);
      int fd = open(path.c_str(), O_RDONLY);
      char byte = fd >= 0 ? 'y' : 'n';
      (void)!write(ready[1], &byte, 1);
      (void)!read(release[0], &byte, 1);  // returns when the parent closes its end
      _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    release_ = release[1];
    char byte = 'n';
    holding_ = read(ready[0], &byte, 1) == 1 && byte == 'y';
    close(ready[0]);
  }
  ~FileHolder() { Release(); }
  FileHolder(const FileHolder&) = delete;
  FileHolder& operator=(const FileHolder&) = delete;
  bool holding() const { return holding_; }
  void Release() {
    if (release_ >= 0) close(release_);
    release_ = -1;
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int release_ = -1;
  bool holding_ = false;
};

}  // namespace testing_support
