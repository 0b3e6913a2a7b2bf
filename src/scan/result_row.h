#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_identity.h"

namespace scan {

// A folder path, held once for all the rows found in that folder: a scan
// that lists every file of a drive would otherwise keep one copy of a long
// path per file.
class FolderPath {
 public:
  FolderPath() = default;
  FolderPath(std::string text) : text_(std::make_shared<const std::string>(std::move(text))) {}
  FolderPath(const char* text) : FolderPath(std::string(text)) {}

  const std::string& str() const {
    static const std::string empty;
    return text_ ? *text_ : empty;
  }
  friend bool operator==(const FolderPath& a, const FolderPath& b) { return a.str() == b.str(); }

 private:
  std::shared_ptr<const std::string> text_;
};

// One row of the results list: the file name as listed, the folder path
// without a trailing separator, the size in kilobytes (bytes / 1024,
// truncated), and which file it was when the scan saw it, so that the
// deletion can make sure it deletes that file and no other.
struct ResultRow {
  std::string name;
  FolderPath folder;
  int64_t kb = 0;
  platform::FileIdentity identity;
};

}  // namespace scan
