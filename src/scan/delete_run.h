#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/delete_listed.h"
#include "scan/result_row.h"

namespace scan {

// The results list as the deletion sees it. Nothing else runs while the
// deletion works, so rows and check marks hold still.
class DeletionHost {
 public:
  virtual ~DeletionHost() = default;
  virtual size_t RowCount() = 0;
  virtual bool RowChecked(size_t index) = 0;
  virtual const ResultRow& Row(size_t index) = 0;
  // Status panel 0 shows the full path being handled, repainted at once.
  virtual void ShowPath(const std::string& full_path) = 0;
  // The progress bar advances one step, repainted at once.
  virtual void Step() = 0;
  // Removes the rows at these indices (ascending, as they stood before
  // the deletion began) in one pass.
  virtual void RemoveRows(const std::vector<size_t>& ascending_indices) = 0;
};

// Deletes one listed file; true only when it was deleted.
using DeleteFile = std::function<bool(const ResultRow&)>;

// The deletion of checked rows: each checked row, in list order, has its
// file deleted and its row removed whether or not the deletion succeeded;
// unchecked rows stay. Returns the kilobytes of the rows whose files were
// deleted, as the rows give them.
int64_t DeleteCheckedRows(DeletionHost& host, const DeleteFile& delete_file);

// The deleter a window uses: a row's file goes only if it is still the
// file the scan listed and `in_use` does not report it open.
DeleteFile ListedFileDeleter(platform::InUseTest in_use);

}  // namespace scan
