#include "scan/scan_engine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fake_host.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using scan_testing::FakeHost;
using testing_support::TempDir;

namespace {

TEST(Scan, ShowsEveryStatusInOrderWithTotalsOverTheWholeScan) {
  TempDir drive;
  drive.write("x.bak", std::string(4096, 'r'));  // in the drive's root: never searched
  drive.write("DATA/a.bak", std::string(2048, 'a'));
  drive.write("DATA/b.TMP", std::string(1023, 'b'));
  drive.write("DATA/sub/c.Bak", std::string(3000, 'c'));
  drive.write("OLD.TMP/d.tmp", std::string(5000, 'd'));  // a folder is not a result, its files are
  drive.write(".hidden/e.BAK", std::string(1024, 'e'));
  fs::create_symlink(drive / "DATA/a.bak", drive / "DATA/link.bak");
  FakeHost host;
  host.drives = {{drive.path()}};
  host.masks = {{"*.BAK"}, {"*.TMP"}};

  scan::ScanClick(host);

  std::vector<std::string> expected = {
      "<clear>",      "正在扫描...", "<disable>", "正在扫描: 4",          "正在搜索... ",
      "找到： 5Kb 在 3个文件", "正在搜索... ", "找到： 9Kb 在 5个文件", "<count> 5个文件被找到", "<enable>"};
  EXPECT_EQ(host.events, expected);
  // Rows stand in name order, whatever order the walk met them in.
  std::vector<std::string> rows = {"a.bak|" + drive.path() + "/DATA|2", "b.TMP|" + drive.path() + "/DATA|0",
                                   "c.Bak|" + drive.path() + "/DATA/sub|2", "d.tmp|" + drive.path() + "/OLD.TMP|4",
                                   "e.BAK|" + drive.path() + "/.hidden|1"};
  EXPECT_EQ(host.RowTexts(), rows);
}

TEST(Scan, FileMatchedByTwoMasksIsListedOnceAndCountedByTheFirst) {
  TempDir drive;
  drive.write("d/~A.TMP", std::string(2048, 'x'));
  drive.write("d/~lock", std::string(1024, 'y'));
  FakeHost host;
  host.drives = {{drive.path()}};
  host.masks = {{"*.TMP"}, {"~*.*"}, {"*.TMP"}};
  scan::ScanClick(host);
  EXPECT_EQ(host.RowTexts(), (std::vector<std::string>{"~A.TMP|" + drive.path() + "/d|2", "~lock|" + drive.path() + "/d|1"}));
  std::vector<std::string> found;
  for (const std::string& e : host.events)
    if (e.rfind("找到", 0) == 0) found.push_back(e);
  EXPECT_EQ(found, (std::vector<std::string>{"找到： 2Kb 在 1个文件", "找到： 3Kb 在 2个文件", "找到： 3Kb 在 2个文件"}));
}

TEST(Scan, RefusesWithoutACheckedDriveOrMaskAndLeavesTheListEmpty) {
  const struct {
    bool drive_checked, mask_checked;
    const char* text;
  } cases[] = {{false, true, "没有选择驱动器！  "}, {false, false, "没有选择驱动器！  "}, {true, false, "没有选择文件类型！    "}};
  TempDir drive;
  for (const auto& c : cases) {
    FakeHost host;
    host.rows.Insert({"old.tmp", "/x", 1, {}});
    host.drives = {{drive.path(), c.drive_checked}};
    host.masks = {{"*.TMP", c.mask_checked}};
    scan::ScanClick(host);
    EXPECT_EQ(host.events, (std::vector<std::string>{"<clear>", c.text}));
    EXPECT_EQ(host.rows.size(), 0u);
  }
  FakeHost empty;
  scan::ScanClick(empty);
  EXPECT_EQ(empty.events, (std::vector<std::string>{"<clear>", "没有选择驱动器！  "}));
}

TEST(Scan, ChecksMadeWhileItRunsCountWhenTheScanReachesThem) {
  TempDir first, second;
  first.write("d/a.bak", "a");
  first.write("d/b.tmp", "b");
  first.write("d/c.dat", "c");
  second.write("d/z.bak", "z");
  FakeHost host;
  host.drives = {{first.path()}, {second.path()}};
  host.masks = {{"*.BAK"}, {"*.TMP", false}};
  // While the first drive is walked the user unchecks the second drive,
  // checks "*.TMP" and adds "*.DAT" checked.
  host.on_messages = [](FakeHost& h) {
    if (h.masks.size() == 3) return;
    h.drives[1].checked = false;
    h.masks[1].checked = true;
    h.masks.push_back({"*.DAT"});
  };
  scan::ScanClick(host);
  EXPECT_EQ(host.RowTexts(), (std::vector<std::string>{"a.bak|" + first.path() + "/d|0", "b.tmp|" + first.path() + "/d|0"}));
}

TEST(Scan, SizesAndTotalsAreSixtyFourBit) {
  TempDir drive;
  drive.write("big/a.tmp", "");
  drive.write("big/b.tmp", "");
  fs::resize_file(drive / "big/a.tmp", 3ull << 30);  // sparse: no disk space taken
  fs::resize_file(drive / "big/b.tmp", 3ull << 30);
  FakeHost host;
  host.drives = {{drive.path()}};
  host.masks = {{"*.tmp"}};
  scan::ScanClick(host);
  ASSERT_EQ(host.rows.size(), 2u);
  EXPECT_EQ(host.rows[0].kb, 3145728);
  EXPECT_NE(std::find(host.events.begin(), host.events.end(), "找到： 6291456Kb 在 2个文件"), host.events.end());
}

TEST(Scan, ADriveWhoseRootHoldsOnlyFilesFindsNothing) {
  TempDir drive;
  drive.write("x.bak", "x");
  FakeHost host;
  host.drives = {{drive.path()}};
  host.masks = {{"*.BAK"}};
  scan::ScanClick(host);
  EXPECT_EQ(host.events, (std::vector<std::string>{"<clear>", "正在扫描...", "<disable>", "正在扫描: 0", "正在搜索... ",
                                                   "找到： 0Kb 在 0个文件", "<count> 0个文件被找到", "<enable>"}));
}

}  // namespace
