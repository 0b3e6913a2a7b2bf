#include "scan/delete_run.h"

#include <utility>

#include "platform/tree_walk.h"

namespace scan {

int64_t DeleteCheckedRows(DeletionHost& host, const DeleteFile& delete_file) {
  int64_t deleted_kb = 0;
  std::vector<size_t> removed;
  size_t count = host.RowCount();
  for (size_t i = 0; i < count; ++i) {
    if (!host.RowChecked(i)) continue;
    const ResultRow& row = host.Row(i);
    host.ShowPath(platform::JoinPath(row.folder, row.name));
    if (delete_file(row)) deleted_kb += row.kb;
    removed.push_back(i);
    host.Step();
  }
  host.RemoveRows(removed);
  return deleted_kb;
}

DeleteFile ListedFileDeleter(platform::InUseTest in_use) {
  return [in_use = std::move(in_use)](const ResultRow& row) {
    return platform::DeleteListedFile(row.folder, row.name, row.identity, in_use);
  };
}

}  // namespace scan
