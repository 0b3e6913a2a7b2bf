#include "platform/directory.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <utility>

#include "platform/directory_test_hook.h"
#include "platform/posix/errno_table.h"
#include "platform/posix/handles.h"
#include "platform/system_error.h"

namespace platform {
namespace {

// What a walk needs of an entry, in one call per entry. The mount id tells
// a bind mount of the same filesystem apart, which the device number cannot.
constexpr unsigned kStatxWanted = STATX_TYPE | STATX_MODE | STATX_INO | STATX_SIZE | STATX_MNT_ID;

std::function<void(const std::string&)>& BeforeOpenChildHook() {
  static std::function<void(const std::string&)> hook;
  return hook;
}

FileIdentity IdentityOf(const struct statx& sx) {
  return {makedev(sx.stx_dev_major, sx.stx_dev_minor), sx.stx_ino};
}

// A deep tree holds one open folder per level, more than the usual soft
// limit of 1024 descriptors; the hard limit is there to be used.
bool RaiseOpenFileLimit() {
  struct rlimit limit {};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max) return false;
  limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? rlim_t{1} << 20 : limit.rlim_max;
  return setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

int OpenRetryingOnLimit(int dir_fd, const char* name, int flags) {
  int fd = openat(dir_fd, name, flags);
  if (fd < 0 && errno == EMFILE && RaiseOpenFileLimit()) fd = openat(dir_fd, name, flags);
  return fd;
}

// A missing folder whose parent exists is "file not found"; when the parent
// is missing too it is "path not found".
int MissingPathCode(const std::string& path) {
  std::string::size_type end = path.find_last_not_of('/');
  std::string::size_type slash = end == std::string::npos ? std::string::npos : path.rfind('/', end);
  std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  struct stat st {};
  bool parent_is_folder = stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  return parent_is_folder ? kErrorFileNotFound : kErrorPathNotFound;
}

FolderOpening Failed(int code) { return {Folder(), OpenStatus::kFailed, code}; }
FolderOpening Changed() { return {Folder(), OpenStatus::kChanged, 0}; }

}  // namespace

namespace test_hooks {
void SetBeforeOpenChild(std::function<void(const std::string& name)> hook) {
  BeforeOpenChildHook() = std::move(hook);
}
}  // namespace test_hooks

// The open folder: its stream, and what a child must match to count as
// the same folder on the same mount.
struct Folder::Handle {
  DirStream stream;
  int fd = -1;  // the stream's own descriptor
  FileIdentity identity;
  uint64_t mount_id = 0;
  bool has_mount_id = false;
  uint32_t mode = 0;

  // Wraps a freshly opened folder descriptor. Looking at "." through it
  // needs the right to pass through the folder, as entering it does, and
  // tells which folder was really opened. A child (`parent` set) must still
  // be the listed folder, on its parent's mount.
  static FolderOpening Adopt(UniqueFd fd, const DirEntry* expected, const Handle* parent) {
    struct statx sx {};
    if (statx(fd.Get(), ".", AT_NO_AUTOMOUNT, kStatxWanted, &sx) != 0) return Failed(SystemErrorCode(errno));
    auto handle = std::make_unique<Handle>();
    handle->identity = IdentityOf(sx);
    handle->has_mount_id = (sx.stx_mask & STATX_MNT_ID) != 0;
    handle->mount_id = sx.stx_mnt_id;
    handle->mode = sx.stx_mode;
    if (parent && !(handle->identity == expected->identity && handle->SameMount(*parent))) return Changed();
    handle->stream = DirStream(std::move(fd));
    if (!handle->stream) return Failed(SystemErrorCode(errno));
    handle->fd = handle->stream.Fd();
    return {Folder(std::move(handle)), OpenStatus::kOpened, 0};
  }

  bool SameMount(const Handle& other) const {
    if (identity.device != other.identity.device) return false;
    return !(has_mount_id && other.has_mount_id) || mount_id == other.mount_id;
  }

  bool OnOtherMount(const struct statx& sx) const {
    if (IdentityOf(sx).device != identity.device) return true;
    return has_mount_id && (sx.stx_mask & STATX_MNT_ID) && sx.stx_mnt_id != mount_id;
  }
};

Folder::Folder(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
Folder::~Folder() = default;
Folder::Folder(Folder&&) noexcept = default;
Folder& Folder::operator=(Folder&&) noexcept = default;

FolderOpening Folder::Open(const std::string& path) {
  if (path.empty()) return Failed(kErrorPathNotFound);
  UniqueFd fd(OpenRetryingOnLimit(AT_FDCWD, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd) {
    int error = errno;
    return Failed(error == ENOENT ? MissingPathCode(path) : SystemErrorCode(error));
  }
  return Handle::Adopt(std::move(fd), nullptr, nullptr);
}

FolderOpening Folder::OpenChild(const DirEntry& entry) const {
  if (auto& hook = BeforeOpenChildHook()) hook(entry.name);
  if (entry.kind != EntryKind::kFolder || entry.other_filesystem) return Changed();
  UniqueFd fd(OpenRetryingOnLimit(handle_->fd, entry.name.c_str(),
                                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!fd) {
    // A link or a file where the folder was listed: something else now
    // stands there, and it is not ours to enter.
    if (errno == ELOOP || errno == ENOTDIR) return Changed();
    return Failed(SystemErrorCode(errno));
  }
  return Handle::Adopt(std::move(fd), &entry, handle_.get());
}

bool Folder::Next(DirEntry& entry) {
  while (struct dirent* d = handle_->stream.Read()) {
    const char* name = d->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    struct statx sx {};
    // Gone since it was listed, or not to be looked at: as if never listed.
    if (statx(handle_->fd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, kStatxWanted, &sx) != 0) continue;
    const mode_t type = sx.stx_mode & S_IFMT;
    entry.name = name;
    entry.kind = type == S_IFREG   ? EntryKind::kFile
                 : type == S_IFDIR ? EntryKind::kFolder
                 : type == S_IFLNK ? EntryKind::kLink
                                   : EntryKind::kOther;
    entry.attributes = (sx.stx_mode & S_IWUSR ? 0 : kAttrReadOnly) | (name[0] == '.' ? kAttrHidden : 0) |
                       (type == S_IFDIR ? kAttrDirectory : 0) | (type == S_IFREG ? kAttrArchive : 0);
    // A link's attributes are its own, and its permission bits mean nothing.
    if (type == S_IFLNK) entry.attributes &= ~kAttrReadOnly;
    entry.size = type == S_IFREG ? sx.stx_size : 0;
    entry.identity = IdentityOf(sx);
    entry.other_filesystem = handle_->OnOtherMount(sx);
    return true;
  }
  return false;
}

bool Folder::SetAttributes(const DirEntry& entry, uint32_t attributes) {
  const bool read_only = (attributes & kAttrReadOnly) != 0;
  if (read_only == ((entry.attributes & kAttrReadOnly) != 0)) return true;
  if ((entry.kind != EntryKind::kFile && entry.kind != EntryKind::kFolder) || entry.other_filesystem) return false;
  // Change the mode of exactly the listed entry: a path-only descriptor
  // opened without following a link, checked, then changed through its
  // descriptor link, so that a link swapped in meanwhile is never followed.
  UniqueFd fd(openat(handle_->fd, entry.name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
  struct stat st {};
  if (!fd || fstat(fd.Get(), &st) != 0) return false;
  const bool same_kind = entry.kind == EntryKind::kFile ? S_ISREG(st.st_mode) : S_ISDIR(st.st_mode);
  if (!same_kind || FileIdentity{st.st_dev, st.st_ino} != entry.identity) return false;
  mode_t mode = st.st_mode & 07777;
  mode = read_only ? (mode & ~mode_t{S_IWUSR}) : (mode | S_IWUSR);
  char link[32];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd.Get());
  return chmod(link, mode) == 0;
}

bool Folder::ClearReadOnly() {
  if (handle_->mode & S_IWUSR) return true;
  if (fchmod(handle_->fd, (handle_->mode & 07777) | S_IWUSR) != 0) return false;
  handle_->mode |= S_IWUSR;
  return true;
}

bool Folder::DeleteFile(const DirEntry& entry) {
  if ((entry.kind != EntryKind::kFile && entry.kind != EntryKind::kLink) || entry.other_filesystem) return false;
  return unlinkat(handle_->fd, entry.name.c_str(), 0) == 0;
}

bool Folder::RemoveFolder(const DirEntry& entry) {
  if (entry.kind != EntryKind::kFolder || entry.other_filesystem) return false;
  return unlinkat(handle_->fd, entry.name.c_str(), AT_REMOVEDIR) == 0;
}

}  // namespace platform
