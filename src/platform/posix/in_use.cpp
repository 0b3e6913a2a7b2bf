#include "platform/in_use.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/posix/handles.h"

namespace platform {
namespace {

bool IsProcessId(const char* name) {
  if (*name == '\0') return false;
  for (; *name; ++name)
    if (*name < '0' || *name > '9') return false;
  return true;
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[65536];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  return text;
}

// Every open descriptor of the process that names a regular file.
void AddOpenFiles(int process_dir, std::vector<FileIdentity>& files) {
  DirStream fds(UniqueFd(openat(process_dir, "fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
  if (!fds) return;
  while (struct dirent* d = fds.Read()) {
    struct stat st {};
    // Following the descriptor's link reaches the open file itself.
    if (d->d_name[0] != '.' && fstatat(fds.Fd(), d->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
      files.push_back({st.st_dev, st.st_ino});
  }
}

// Every file mapped into the process. A line reads
// "start-end perms offset major:minor inode path", numbers of the device in
// hex and the inode in decimal, 0 for anonymous memory.
void AddMappedFiles(int process_dir, std::vector<FileIdentity>& files) {
  UniqueFd maps(openat(process_dir, "maps", O_RDONLY | O_CLOEXEC));
  if (!maps) return;
  const std::string text = ReadAll(maps.Get());
  const char* p = text.c_str();
  const char* const end = p + text.size();
  while (p < end) {
    const char* line_end = std::find(p, end, '\n');
    const char* field = p;
    for (int skip = 0; skip < 3 && field < line_end; ++skip) {
      field = std::find(field, line_end, ' ');
      while (field < line_end && *field == ' ') ++field;
    }
    // strtoul would skip the line break and read the next line's numbers.
    if (field >= line_end) {
      p = line_end + 1;
      continue;
    }
    char* next = nullptr;
    unsigned long major = std::strtoul(field, &next, 16);
    if (next < line_end && *next == ':') {
      unsigned long minor = std::strtoul(next + 1, &next, 16);
      unsigned long long inode = std::strtoull(next, &next, 10);
      if (next <= line_end && inode != 0)
        files.push_back({makedev(static_cast<unsigned>(major), static_cast<unsigned>(minor)), inode});
    }
    p = line_end + 1;
  }
}

}  // namespace

InUseSnapshot InUseSnapshot::Take() {
  InUseSnapshot snapshot;
  DirStream proc(UniqueFd(open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
  if (!proc) return snapshot;
  while (struct dirent* d = proc.Read()) {
    if (!IsProcessId(d->d_name)) continue;
    // A process that has ended meanwhile, or another user's, is skipped.
    UniqueFd process(openat(proc.Fd(), d->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!process) continue;
    AddOpenFiles(process.Get(), snapshot.files_);
    AddMappedFiles(process.Get(), snapshot.files_);
  }
  std::sort(snapshot.files_.begin(), snapshot.files_.end());
  snapshot.files_.erase(std::unique(snapshot.files_.begin(), snapshot.files_.end()), snapshot.files_.end());
  return snapshot;
}

bool InUseSnapshot::Contains(const FileIdentity& identity) const {
  return std::binary_search(files_.begin(), files_.end(), identity);
}

}  // namespace platform
