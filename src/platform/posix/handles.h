#pragma once
#include <dirent.h>
#include <unistd.h>

#include <utility>

namespace platform {

// Owns a file descriptor; closes it when it goes away.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = other.Release();
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int Get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int Release() { return std::exchange(fd_, -1); }
  void Reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

// Owns a directory stream; closing it closes the descriptor it was made from.
class DirStream {
 public:
  DirStream() = default;
  // Takes the descriptor over, also when the stream cannot be made.
  explicit DirStream(UniqueFd fd) {
    dir_ = ::fdopendir(fd.Get());
    if (dir_) fd.Release();
  }
  ~DirStream() { Reset(); }
  DirStream(DirStream&& other) noexcept : dir_(std::exchange(other.dir_, nullptr)) {}
  DirStream& operator=(DirStream&& other) noexcept {
    if (this != &other) {
      Reset();
      dir_ = std::exchange(other.dir_, nullptr);
    }
    return *this;
  }
  DirStream(const DirStream&) = delete;
  DirStream& operator=(const DirStream&) = delete;

  explicit operator bool() const { return dir_ != nullptr; }
  int Fd() const { return ::dirfd(dir_); }
  struct dirent* Read() { return ::readdir(dir_); }
  void Reset() {
    if (dir_) ::closedir(dir_);
    dir_ = nullptr;
  }

 private:
  DIR* dir_ = nullptr;
};

}  // namespace platform
