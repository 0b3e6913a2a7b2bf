#pragma once
#include <functional>
#include <memory>
#include <string>

#include "platform/file_identity.h"

namespace platform {

// Whether a file is held open by a running program.
using InUseTest = std::function<bool(const FileIdentity&)>;

// Deletes files that a scan listed, each only while it is still that file:
// every folder on the way is reached from "/" without following a link,
// and the entry must be a regular file with exactly the listed identity
// that `in_use` (when given) does not report as open.
//
// Folders once reached stay open for the life of the object, so a run over
// many rows of few folders does not walk the same path again. A folder
// moved meanwhile is still the folder that held the listed file, and the
// identity test still decides.
class ListedFileRemover {
 public:
  explicit ListedFileRemover(InUseTest in_use = nullptr);
  ~ListedFileRemover();
  ListedFileRemover(const ListedFileRemover&) = delete;
  ListedFileRemover& operator=(const ListedFileRemover&) = delete;

  // True only when the file was deleted.
  bool Delete(const std::string& folder, const std::string& name, const FileIdentity& identity);

 private:
  struct OpenFolders;
  InUseTest in_use_;
  std::unique_ptr<OpenFolders> folders_;
};

// One deletion with a remover of its own.
bool DeleteListedFile(const std::string& folder, const std::string& name, const FileIdentity& identity,
                      const InUseTest& in_use);

}  // namespace platform
