#include "platform/delete_listed.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/posix/handles.h"

namespace platform {
namespace {


bool PlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

// Opens an absolute folder path one component at a time, never following a
// link, so a folder replaced by a link after the scan leads nowhere.
UniqueFd OpenFolderNoLinks(const std::string& folder) {
  if (folder.empty() || folder[0] != '/') return {};
  UniqueFd current(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
  size_t start = 1;
  while (static_cast<bool>(current) && start < folder.size()) {
    size_t end = folder.find('/', start);
    if (end == std::string::npos) end = folder.size();
    std::string part = folder.substr(start, end - start);
    if (!PlainName(part)) return {};
    current = UniqueFd(::openat(current.Get(), part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    start = end + 1;
  }
  return current;
}

// Folders kept open are few enough for any descriptor limit.
constexpr size_t kMaxOpenFolders = 64;

}  // namespace

struct ListedFileRemover::OpenFolders {
  std::unordered_map<std::string, UniqueFd> by_path;
};

ListedFileRemover::ListedFileRemover(InUseTest in_use)
    : in_use_(std::move(in_use)), folders_(std::make_unique<OpenFolders>()) {}

ListedFileRemover::~ListedFileRemover() = default;

bool ListedFileRemover::Delete(const std::string& folder, const std::string& name, const FileIdentity& identity) {
  if (!PlainName(name)) return false;
  auto& open = folders_->by_path;
  auto it = open.find(folder);
  if (it == open.end()) {
    UniqueFd reached = OpenFolderNoLinks(folder);
    if (!reached) return false;
    if (open.size() >= kMaxOpenFolders) open.clear();
    it = open.emplace(folder, std::move(reached)).first;
  }
  int parent = it->second.Get();
  struct stat st;
  if (::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (!S_ISREG(st.st_mode)) return false;
  if (static_cast<uint64_t>(st.st_dev) != identity.device || static_cast<uint64_t>(st.st_ino) != identity.inode)
    return false;
  if (in_use_ && in_use_(identity)) return false;
  return ::unlinkat(parent, name.c_str(), 0) == 0;
}

bool DeleteListedFile(const std::string& folder, const std::string& name, const FileIdentity& identity,
                      const InUseTest& in_use) {
  return ListedFileRemover(in_use).Delete(folder, name, identity);
}

}  // namespace platform
