#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_identity.h"

namespace platform {

// A regular file met by the walk.
struct WalkedFile {
  std::string_view name;
  uint64_t size = 0;  // bytes
  FileIdentity identity;
};

// Receives what WalkTree finds. The walk lists a folder completely before
// it descends into that folder's sub-folders, so every folder is entered
// before any folder below it (depth-first pre-order, siblings in listing
// order) and a folder's files are reported right after it is entered.
class TreeVisitor {
 public:
  virtual ~TreeVisitor() = default;
  // A folder is entered; `depth` is 0 for the root itself. `path` is the
  // root joined with the folder names by "/", without a trailing "/".
  virtual void EnterFolder(const std::string& path, int depth) = 0;
  // Whether a regular file of this name in the folder last entered is of
  // interest. Only then is the file looked at further, and reported.
  virtual bool WantFile(std::string_view name) = 0;
  virtual void File(const WalkedFile& file) = 0;
};

// Walks the folder tree below `root`, an absolute path ("/" included).
// Never follows a symbolic link, never enters another filesystem than the
// root's (nor triggers an automount), never opens a file, and never enters
// a folder that is already one of its own ancestors. Sockets, FIFOs,
// devices and links are not reported. A folder that cannot be opened is
// passed by silently. False when the root itself cannot be opened.
bool WalkTree(const std::string& root, TreeVisitor& visitor);

// `folder` + "/" + `name`, without doubling the separator after "/".
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace platform
