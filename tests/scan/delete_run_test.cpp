#include "scan/delete_run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "fake_host.h"
#include "scan/scan_engine.h"
#include "scan/sorted_rows.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using testing_support::TempDir;

namespace {

class FakeList : public scan::DeletionHost {
 public:
  scan::SortedRows rows;
  std::vector<bool> checked;
  std::vector<std::string> shown;
  int steps = 0, removals = 0;

  size_t RowCount() override { return rows.size(); }
  bool RowChecked(size_t i) override { return checked.at(i); }
  const scan::ResultRow& Row(size_t i) override { return rows[i]; }
  void ShowPath(const std::string& path) override { shown.push_back(path); }
  void Step() override { ++steps; }
  void RemoveRows(const std::vector<size_t>& indices) override {
    ++removals;
    std::vector<bool> left;
    for (size_t i = 0, r = 0; i < checked.size(); ++i) {
      if (r < indices.size() && indices[r] == i) {
        ++r;
        continue;
      }
      left.push_back(checked[i]);
    }
    rows.Remove(indices);
    checked = left;
  }
};

std::vector<std::string> Names(const scan::SortedRows& rows) {
  std::vector<std::string> out;
  for (size_t i = 0; i < rows.size(); ++i) out.push_back(rows[i].name);
  return out;
}

TEST(DeleteRun, HandlesEveryCheckedRowAndCountsOnlyTheDeleted) {
  const struct {
    const char* checks;  // one letter per row: c checked, - unchecked
    const char* fails;   // rows whose deletion fails
    int64_t kb;
    std::vector<std::string> left;
  } cases[] = {
      {"-----", "", 0, {"a", "b", "c", "d", "e"}},
      {"ccccc", "", 31, {}},
      {"-cc-c", "", 22, {"a", "d"}},    // adjacent checked rows both go
      {"-cc-c", "c", 18, {"a", "d"}},   // a failed deletion still loses its row, not its kilobytes
      {"c---c", "ae", 0, {"b", "c", "d"}},
  };
  for (const auto& c : cases) {
    FakeList list;
    int64_t kb = 1;
    for (const char* name : {"a", "b", "c", "d", "e"}) {
      list.rows.Insert({name, "/", kb, {}});
      kb *= 2;
    }
    for (const char* p = c.checks; *p; ++p) list.checked.push_back(*p == 'c');
    std::set<std::string> fails;
    for (const char* p = c.fails; *p; ++p) fails.insert(std::string(1, *p));
    std::vector<std::string> tried;
    auto deleter = [&](const scan::ResultRow& row) {
      tried.push_back(row.name);
      return fails.count(row.name) == 0;
    };
    EXPECT_EQ(scan::DeleteCheckedRows(list, deleter), c.kb) << c.checks;
    EXPECT_EQ(Names(list.rows), c.left) << c.checks;
    EXPECT_EQ(list.steps, static_cast<int>(tried.size())) << c.checks;
    EXPECT_EQ(list.removals, 1) << c.checks;
    EXPECT_EQ(list.shown.size(), tried.size()) << c.checks;
  }
}

// A scan lists the files, then the tree changes, then every row is checked
// and deleted through the real deleter, as the unprivileged user "nobody"
// so that permissions count. The child's exit code is the kilobytes freed.
TEST(DeleteRun, DeletesOnlyWhatIsStillTheListedFile) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to hand the files to another user";
  TempDir drive;
  fs::permissions(drive.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  TempDir elsewhere;
  fs::permissions(elsewhere.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  drive.write("ro/locked.tmp", std::string(2048, 'l'));
  drive.write("rw/a.tmp", std::string(3072, 'a'));
  drive.write("rw/b.tmp", std::string(4096, 'b'));
  drive.write("rw/swapped.tmp", std::string(8192, 's'));
  elsewhere.write("target.tmp", "precious");
  for (const char* p : {"ro", "ro/locked.tmp", "rw", "rw/a.tmp", "rw/b.tmp", "rw/swapped.tmp"})
    ASSERT_EQ(chown((drive / p).c_str(), 65534, 65534), 0);
  ASSERT_EQ(chown(elsewhere.path().c_str(), 65534, 65534), 0);
  ASSERT_EQ(chown((elsewhere / "target.tmp").c_str(), 65534, 65534), 0);

  scan_testing::FakeHost scanner;
  scanner.drives = {{drive.path()}};
  scanner.masks = {{"*.tmp"}};
  scan::ScanClick(scanner);
  ASSERT_EQ(scanner.rows.size(), 4u);

  chmod((drive / "ro/locked.tmp").c_str(), 0444);
  chmod((drive / "ro").c_str(), 0555);
  fs::remove(drive / "rw/swapped.tmp");
  fs::create_symlink(elsewhere / "target.tmp", drive / "rw/swapped.tmp");

  pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(255);
    FakeList list;
    for (size_t i = 0; i < scanner.rows.size(); ++i) list.rows.Insert(scanner.rows[i]);
    list.checked.assign(list.rows.size(), true);
    int64_t kb = scan::DeleteCheckedRows(list, scan::ListedFileDeleter(nullptr));
    _exit(list.rows.empty() ? static_cast<int>(kb) : 254);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3 + 4);
  EXPECT_TRUE(drive.exists("ro/locked.tmp"));
  EXPECT_FALSE(drive.exists("rw/a.tmp"));
  EXPECT_FALSE(drive.exists("rw/b.tmp"));
  EXPECT_TRUE(drive.exists("rw/swapped.tmp"));
  EXPECT_TRUE(elsewhere.exists("target.tmp"));
}

}  // namespace
