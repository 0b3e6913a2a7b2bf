// The results list's own costs: inserting 10^5 rows in name order, and
// deleting 10^5 checked rows (the run's bookkeeping without unlinking, then
// with real files in a scratch folder, next to unlinking them bare).
//
//   quillmoor-bench-rows SCRATCH_FOLDER
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_host.h"
#include "scan/delete_run.h"

namespace {

constexpr int kRows = 100000;

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class List : public scan::DeletionHost {
 public:
  scan::SortedRows rows;
  std::vector<bool> checked;
  size_t RowCount() override { return rows.size(); }
  bool RowChecked(size_t i) override { return checked[i]; }
  const scan::ResultRow& Row(size_t i) override { return rows[i]; }
  void ShowPath(const std::string&) override {}
  void Step() override {}
  void RemoveRows(const std::vector<size_t>& indices) override { rows.Remove(indices); }
};

std::string Name(uint32_t n) {
  std::string name = std::to_string((n * 2654435761u) % 1000003u);
  name.insert(0, 1, 'f');
  return name.append(".tmp");
}

void MakeFiles(const std::string& folder) {
  for (int i = 0; i < kRows; ++i) {
    int fd = ::open((folder + "/" + Name(i)).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0) ::close(fd);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SCRATCH_FOLDER\n", argv[0]);
    return 2;
  }
  // The files lie one level below the scanned folder: a drive's root
  // files are never searched.
  std::string drive = argv[1];
  std::string scratch = drive + "/files";
  ::mkdir(drive.c_str(), 0755);
  ::mkdir(scratch.c_str(), 0755);

  List list;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kRows; ++i) list.rows.Insert({Name(i), "/some/folder/of/a/drive", i, {}});
  double insert = Since(start);

  list.checked.assign(list.rows.size(), true);
  start = std::chrono::steady_clock::now();
  scan::DeleteCheckedRows(list, [](const scan::ResultRow&) { return true; });
  double bookkeeping = Since(start);

  // The real thing: scan the scratch files, check every row, delete.
  MakeFiles(scratch);
  bench::BenchHost host;
  host.drives = {drive};
  host.masks = {"*.tmp"};
  scan::ScanClick(host);
  List found;
  for (size_t i = 0; i < host.rows.size(); ++i) found.rows.Insert(host.rows[i]);
  found.checked.assign(found.rows.size(), true);
  size_t rows = found.rows.size();
  start = std::chrono::steady_clock::now();
  scan::DeleteCheckedRows(found, scan::ListedFileDeleter(nullptr));
  double with_unlink = Since(start);

  MakeFiles(scratch);
  start = std::chrono::steady_clock::now();
  for (int i = 0; i < kRows; ++i) ::unlink((scratch + "/" + Name(i)).c_str());
  double bare_unlink = Since(start);
  ::rmdir(scratch.c_str());
  ::rmdir(drive.c_str());

  std::printf("insert_100k=%.3f delete_run_100k_no_unlink=%.3f delete_run_%zu_with_unlink=%.3f bare_unlink_100k=%.3f\n",
              insert, bookkeeping, rows, with_unlink, bare_unlink);
  return 0;
}
