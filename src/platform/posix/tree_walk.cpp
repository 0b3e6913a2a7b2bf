#include "platform/tree_walk.h"

#include <dirent.h>  // getdents64, dirent64
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/posix/handles.h"

namespace platform {
namespace {


// A sub-folder is opened without following a link, and without blocking
// should the name have been replaced by a FIFO or a device meanwhile.
constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
// An entry is looked at without following a link or mounting anything.
constexpr int kLookAt = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT;

unsigned char TypeOf(mode_t mode) {
  if (S_ISREG(mode)) return DT_REG;
  if (S_ISDIR(mode)) return DT_DIR;
  return DT_UNKNOWN;  // anything else is never reported nor entered
}

class Walker {
 public:
  Walker(TreeVisitor& visitor, std::string root, dev_t device)
      : visitor_(visitor), path_(std::move(root)), device_(device) {}

  void Walk(const UniqueFd& folder, ino_t inode, int depth) {
    visitor_.EnterFolder(path_, depth);
    std::vector<std::string> sub_folders = List(folder);
    ancestors_.push_back(inode);
    for (const std::string& name : sub_folders) Descend(folder, name, depth + 1);
    ancestors_.pop_back();
  }

 private:
  // Reports the folder's files and returns the names of its sub-folders.
  // The listing is read to its end before any descent, so one buffer
  // serves the whole walk. The entries are read straight from the kernel
  // in large blocks: a directory stream would add a descriptor copy, a
  // buffer allocation and further system calls for every folder.
  std::vector<std::string> List(const UniqueFd& folder) {
    std::vector<std::string> sub_folders;
    for (;;) {
      ssize_t filled = ::getdents64(folder.Get(), buffer_.data(), buffer_.size());
      if (filled <= 0) break;  // the end, or a listing the system refuses
      for (ssize_t at = 0; at < filled;) {
        const auto* entry = reinterpret_cast<const dirent64*>(buffer_.data() + at);
        at += entry->d_reclen;
        Entry(folder, entry->d_name, entry->d_type, sub_folders);
      }
    }
    return sub_folders;
  }

  void Entry(const UniqueFd& folder, const char* name, unsigned char type, std::vector<std::string>& sub_folders) {
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) return;
    struct stat st;
    bool have_stat = false;
    if (type == DT_UNKNOWN) {
      // Some filesystems do not give the type in the listing.
      if (::fstatat(folder.Get(), name, &st, kLookAt) != 0) return;
      have_stat = true;
      type = TypeOf(st.st_mode);
    }
    if (type == DT_DIR) {
      sub_folders.emplace_back(name);
    } else if (type == DT_REG) {
      std::string_view file_name(name);
      if (!visitor_.WantFile(file_name)) return;
      if (!have_stat && ::fstatat(folder.Get(), name, &st, kLookAt) != 0) return;
      if (!S_ISREG(st.st_mode)) return;  // replaced since it was listed
      if (st.st_dev != device_) return;
      visitor_.File({file_name, static_cast<uint64_t>(st.st_size),
                     {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)}});
    }
  }

  void Descend(const UniqueFd& parent, const std::string& name, int depth) {
    // Look before opening: a mount point of another filesystem (an
    // automount trigger among them) is recognised without entering it.
    struct stat before;
    if (::fstatat(parent.Get(), name.c_str(), &before, kLookAt) != 0) return;
    if (!S_ISDIR(before.st_mode) || before.st_dev != device_) return;
    if (std::find(ancestors_.begin(), ancestors_.end(), before.st_ino) != ancestors_.end()) return;
    // O_NOFOLLOW keeps a link swapped in since the look from being
    // followed; a folder renamed in is on this filesystem all the same,
    // and a filesystem mounted there since shows in the device numbers of
    // what lies in it, which are checked again.
    UniqueFd folder(::openat(parent.Get(), name.c_str(), kOpenFolder));
    if (!folder) return;  // refused, gone, or out of descriptors
    size_t mark = path_.size();
    if (path_.back() != '/') path_ += '/';
    path_ += name;
    Walk(folder, before.st_ino, depth);
    path_.resize(mark);
  }

  TreeVisitor& visitor_;
  std::string path_;
  dev_t device_;
  std::vector<ino_t> ancestors_;
  std::vector<char> buffer_ = std::vector<char>(64 * 1024);
};

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || path.back() != '/') path += '/';
  path += name;
  return path;
}

bool WalkTree(const std::string& root, TreeVisitor& visitor) {
  std::string start = WithoutTrailingSeparators(root);
  if (start.empty() || start[0] != '/') return false;
  UniqueFd folder(::open(start.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC));
  if (!folder) return false;
  struct stat st;
  if (::fstat(folder.Get(), &st) != 0) return false;
  Walker walker(visitor, std::move(start), st.st_dev);
  walker.Walk(folder, st.st_ino, 0);
  return true;
}

}  // namespace platform
