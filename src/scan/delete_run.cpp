#include "scan/delete_run.h"

#include <memory>
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
    host.ShowPath(platform::JoinPath(row.folder.str(), row.name));
    if (delete_file(row)) deleted_kb += row.kb;
    removed.push_back(i);
    host.Step();
  }
  host.RemoveRows(removed);
  return deleted_kb;
}

DeleteFile ListedFileDeleter(platform::InUseTest in_use) {
  // One remover for the whole run, so that the folders it has reached
  // stay open for the rows that follow.
  auto remover = std::make_shared<platform::ListedFileRemover>(std::move(in_use));
  return [remover](const ResultRow& row) { return remover->Delete(row.folder.str(), row.name, row.identity); };
}

}  // namespace scan
