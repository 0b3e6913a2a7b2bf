#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace platform {
namespace {

// Owns one file descriptor; closes it when it goes away.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Reset(); }

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  int Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // Closes now and tells whether the close (the last chance for a delayed
  // write error) succeeded.
  bool Close() { return ::close(Release()) == 0; }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A new, hidden file beside `path`, created exclusively; its mode follows
// the umask like any new file's.
FileDescriptor CreateSibling(const std::string& path, std::string& sibling) {
  static std::atomic<unsigned> counter{0};
  std::string stem = FolderOf(path) + "/." + NameOf(path) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    sibling = stem + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
    int fd = ::open(sibling.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0) return FileDescriptor(fd);
    if (errno != EEXIST) break;
  }
  return FileDescriptor();
}

void SyncFolder(const std::string& folder) {
  FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Valid()) ::fsync(dir.Get());
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.Valid()) return std::nullopt;
  struct stat st;
  if (::fstat(fd.Get(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
  std::string content;
  char buffer[65536];
  while (true) {
    ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    content.append(buffer, static_cast<size_t>(n));
  }
  return content;
}

bool ReplaceFile(const std::string& path, std::string_view bytes) {
  // An existing file that may not be written stays as it is, as it would if
  // it were rewritten in place; the rename below would otherwise replace it.
  struct stat old;
  bool had_old = ::stat(path.c_str(), &old) == 0;
  if (had_old && (!S_ISREG(old.st_mode) || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0))
    return false;

  std::string sibling;
  FileDescriptor fd = CreateSibling(path, sibling);
  if (!fd.Valid()) return false;
  bool ok = true;
  if (had_old) ok = ::fchmod(fd.Get(), old.st_mode & 07777) == 0;
  ok = ok && WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0;
  ok = fd.Close() && ok;
  ok = ok && ::rename(sibling.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(sibling.c_str());
    return false;
  }
  SyncFolder(FolderOf(path));
  return true;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

}  // namespace platform
