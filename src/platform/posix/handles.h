#pragma once
// Move-only owners of the POSIX handles this backend uses.
#include <dirent.h>
#include <unistd.h>

#include <utility>

namespace platform::posix {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) reset(std::exchange(other.fd_, -1));
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

class DirStream {
 public:
  DirStream() = default;
  explicit DirStream(DIR* dir) : dir_(dir) {}
  ~DirStream() {
    if (dir_) ::closedir(dir_);
  }
  DirStream(DirStream&& other) noexcept : dir_(std::exchange(other.dir_, nullptr)) {}
  DirStream& operator=(DirStream&& other) noexcept {
    std::swap(dir_, other.dir_);
    return *this;
  }
  DirStream(const DirStream&) = delete;
  DirStream& operator=(const DirStream&) = delete;

  DIR* get() const { return dir_; }
  explicit operator bool() const { return dir_ != nullptr; }

 private:
  DIR* dir_ = nullptr;
};

}  // namespace platform::posix
