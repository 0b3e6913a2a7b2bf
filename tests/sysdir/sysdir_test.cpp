#include "sysdir/UnitSysDir.h"

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "support/Sandbox.h"
#include "settings/LineList.h"
#include "settings/Registry.h"

using platform::RegistryKey;
using platform::RootKey;

namespace {

constexpr const char* kShellFolders = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A store whose shell-folder key holds exactly `values` (nothing: no key).
void SetShellFolders(const std::optional<std::vector<std::pair<std::string, std::string>>>& values) {
  RegistryKey::DeleteTree(RootKey::CurrentUser, kShellFolders);
  if (!values) return;
  std::optional<RegistryKey> key = RegistryKey::Open(RootKey::CurrentUser, kShellFolders, true);
  for (const auto& [name, data] : *values) key->Set(name, platform::kRegSz, data + '\0');
}

struct Sandbox : RegistrySandbox {
  testing_support::ScopedEnv tmpdir{"TMPDIR", dir / "tmp"};
  std::string program = dir / "prog/";
};

}  // namespace

TEST(TSysDir, RefreshReadsTheShellFoldersAndTheTempPath) {
  Sandbox box;
  const std::vector<std::pair<std::string, std::string>> all = {
      {"Recent", "/r"}, {"Cache", "/c"}, {"History", "/h"}, {"Cookies", "/k"}};
  struct Case {
    std::optional<std::vector<std::pair<std::string, std::string>>> values;
    bool result;
    const char *recent, *cookies;
  };
  const Case cases[] = {
      {all, true, "/r", "/k"},
      {std::vector<std::pair<std::string, std::string>>(all.begin(), all.end() - 1), true, "/r", ""},
      {std::nullopt, false, "", ""},
  };
  TSysDir sysdir(box.program, nullptr);
  for (const Case& c : cases) {
    sysdir.RecentDir = sysdir.CookiesDir = "stale";
    SetShellFolders(c.values);
    EXPECT_EQ(sysdir.RefreshFolders(), c.result);
    EXPECT_EQ(sysdir.RecentDir, c.recent);
    EXPECT_EQ(sysdir.CookiesDir, c.cookies);
    EXPECT_EQ(sysdir.TempDir, box.dir / "tmp/");
  }
  EXPECT_EQ(sysdir.CacheDir, "");
}

TEST(TSysDir, AFailedTempPathKeepsThePreviousOne) {
  Sandbox box;
  SetShellFolders(std::vector<std::pair<std::string, std::string>>{{"Cache", "/c"}});
  TSysDir sysdir(box.program, nullptr);
  ASSERT_EQ(sysdir.TempDir, box.dir / "tmp/");
  testing_support::ScopedEnv too_long("TMPDIR", "/" + std::string(300, 'x'));
  EXPECT_FALSE(sysdir.RefreshFolders());
  EXPECT_EQ(sysdir.TempDir, box.dir / "tmp/");
  EXPECT_EQ(sysdir.CacheDir, "/c");
}

TEST(TSysDir, ConstructorLoadsTheUserListAndReportsOnce) {
  Sandbox box;
  int boxes = 0;
  auto count = [&] { ++boxes; };
  SetShellFolders(std::vector<std::pair<std::string, std::string>>{});
  {
    TSysDir sysdir(box.program, count);  // no qm.ini: nothing reported
    EXPECT_TRUE(sysdir.UserDirs.empty());
    EXPECT_EQ(boxes, 0);
  }
  box.dir.write("prog/qm.ini", "/data/a\r\n\r\n/data/a\r\n");
  SetShellFolders(std::nullopt);
  TSysDir sysdir(box.program, count);
  EXPECT_EQ(sysdir.UserDirs, (std::vector<std::string>{"/data/a", "", "/data/a"}));
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(sysdir.TempDir, box.dir / "tmp/");
  EXPECT_EQ(std::string(kSysDirErrorText), "错误访问系统文件夹！" + std::string(11, ' '));
}

TEST(TSysDir, AValueOfTheWrongTypeLeavesTheConstructor) {
  Sandbox box;
  SetShellFolders(std::vector<std::pair<std::string, std::string>>{{"Recent", "/r"}});
  RegistryKey::Open(RootKey::CurrentUser, kShellFolders, false)->Set("Cache", platform::kRegDword, std::string(4, '\0'));
  int boxes = 0;
  try {
    TSysDir sysdir(box.program, [&] { ++boxes; });
    ADD_FAILURE() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "无效的数据类型给予 'Cache'");
  }
  EXPECT_EQ(boxes, 0);
}
