#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"
#include "support/Sandbox.h"

using platform::RegistryKey;
using platform::RootKey;

namespace {

constexpr const char* kRunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kShellFolders = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

RegistryKey MustOpen(RootKey root, const char* path, bool create) {
  std::optional<RegistryKey> key = RegistryKey::Open(root, path, create);
  if (!key) throw std::runtime_error(std::string("cannot open ") + path);
  return std::move(*key);
}

}  // namespace

TEST(Registry, OpensCreatesAndComparesWithoutCase) {
  RegistrySandbox box;
  EXPECT_FALSE(RegistryKey::Open(RootKey::LocalMachine, "\\Software\\Vestrel\\Quillmoor", false));
  RegistryKey created = MustOpen(RootKey::LocalMachine, "\\Software\\Vestrel\\Quillmoor", true);
  EXPECT_EQ(created.Path(), "Software\\Vestrel\\Quillmoor");
  ASSERT_TRUE(created.Set("InstallDir", platform::kRegSz, std::string("/opt/q/\0", 8)));

  RegistryKey again = MustOpen(RootKey::LocalMachine, "software\\VESTREL\\quillmoor", false);
  ASSERT_TRUE(again.Set("INSTALLDIR", platform::kRegExpandSz, std::string("x\0", 2)));
  EXPECT_EQ(again.ValueCount(), 1);
  std::optional<platform::RegistryValue> value = again.Get("installdir");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->name, "InstallDir");  // the first spelling stays
  EXPECT_EQ(value->type, platform::kRegExpandSz);
  EXPECT_EQ(value->data, std::string("x\0", 2));

  // The hives are apart; a doubled separator names no key.
  EXPECT_FALSE(RegistryKey::Open(RootKey::CurrentUser, "\\Software\\Vestrel\\Quillmoor", false));
  EXPECT_FALSE(RegistryKey::Open(RootKey::LocalMachine, "Software\\\\Vestrel", true));
  EXPECT_EQ(MustOpen(RootKey::LocalMachine, "Software\\Vestrel", false).SubKeys(), std::vector<std::string>{"Quillmoor"});
}

TEST(Registry, KeepsTypesBytesAndOrder) {
  RegistrySandbox box;
  RegistryKey key = MustOpen(RootKey::CurrentUser, "T", true);
  struct Case {
    const char* name;
    uint32_t type;
    std::string data;
  };
  const Case cases[] = {
      {"sz", platform::kRegSz, std::string("a\0b\0", 4)},
      {"dword", platform::kRegDword, std::string("\x05\0\0\0", 4)},
      {"binary", platform::kRegBinary, std::string("\0\xff\x80", 3)},
      {"empty", platform::kRegBinary, ""},
      {"odd", 42, "x"},
      {"", platform::kRegSz, std::string("unnamed\0", 8)},
  };
  for (const Case& c : cases) ASSERT_TRUE(key.Set(c.name, c.type, c.data)) << c.name;
  MustOpen(RootKey::CurrentUser, "T\\Sub", true);
  EXPECT_EQ(key.ValueCount(), 6);  // the sub-key does not count
  std::vector<platform::RegistryValue> values = key.Values();
  ASSERT_EQ(values.size(), std::size(cases));
  for (size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(values[i].name, cases[i].name);
    EXPECT_EQ(values[i].type, cases[i].type) << cases[i].name;
    EXPECT_EQ(values[i].data, cases[i].data) << cases[i].name;
  }
  EXPECT_TRUE(key.Remove("SZ"));
  EXPECT_FALSE(key.Remove("sz"));
  EXPECT_EQ(key.ValueCount(), 5);
}

TEST(Registry, DeletesTreesButNotAHive) {
  RegistrySandbox box;
  RegistryKey deep = MustOpen(RootKey::CurrentUser, "A\\B\\C", true);
  ASSERT_TRUE(deep.Set("v", platform::kRegSz, std::string("x\0", 2)));
  EXPECT_TRUE(RegistryKey::DeleteTree(RootKey::CurrentUser, "a\\b"));
  EXPECT_FALSE(RegistryKey::Open(RootKey::CurrentUser, "A\\B\\C", false));
  EXPECT_FALSE(deep.Set("v", platform::kRegSz, std::string("y\0", 2)));  // no reviving a deleted key
  EXPECT_TRUE(RegistryKey::Open(RootKey::CurrentUser, "A", false));
  EXPECT_FALSE(RegistryKey::DeleteTree(RootKey::CurrentUser, "A\\B"));
  EXPECT_FALSE(RegistryKey::DeleteTree(RootKey::CurrentUser, ""));
}

TEST(Registry, ExclusiveTransactionsKeepOnlyWhatIsCommitted) {
  RegistrySandbox box;
  RegistryKey key = MustOpen(RootKey::LocalMachine, "K", true);
  ASSERT_TRUE(key.BeginExclusive());
  EXPECT_FALSE(key.BeginExclusive());
  ASSERT_TRUE(key.Set("v", platform::kRegDword, std::string("\1\0\0\0", 4)));
  key.Rollback();
  EXPECT_FALSE(key.Get("v"));
  ASSERT_TRUE(key.BeginExclusive());
  ASSERT_TRUE(key.Set("v", platform::kRegDword, std::string("\2\0\0\0", 4)));
  ASSERT_TRUE(key.Commit());
  EXPECT_EQ(MustOpen(RootKey::LocalMachine, "K", false).Get("v")->data, std::string("\2\0\0\0", 4));
}

TEST(Registry, FirstCreationLaysOutAFreshMachinePrivately) {
  RegistrySandbox box;
  // Browser data as found on disk: only a folder that holds nothing but the
  // cache is mapped, never the profile itself.
  box.dir.mkdir("cache/mozilla/firefox/old.profile/cache2");
  box.dir.mkdir("cache/mozilla/firefox/abcd.default-release/cache2");
  box.dir.mkdir("home/.mozilla/firefox/abcd.default-release");
  box.dir.write("home/.mozilla/firefox/abcd.default-release/places.sqlite", "history");
  box.dir.mkdir("data/RecentDocuments");

  RegistryKey run = MustOpen(RootKey::LocalMachine, kRunKey, false);
  EXPECT_EQ(run.ValueCount(), 0);
  RegistryKey shell = MustOpen(RootKey::CurrentUser, kShellFolders, false);
  std::vector<platform::RegistryValue> values = shell.Values();
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].name, "Recent");
  EXPECT_EQ(values[0].data, box.dir / "data/RecentDocuments" + '\0');
  EXPECT_EQ(values[1].name, "Cache");
  EXPECT_EQ(values[1].data, box.dir / "cache/mozilla/firefox/abcd.default-release/cache2" + '\0');
  EXPECT_EQ(values[1].type, platform::kRegSz);

  struct stat st;
  ASSERT_EQ(stat((box.dir / "registry.db").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(Registry, LeavesUnreadableOrDamagedStoresAlone) {
  const std::string damaged = "this is not a database, and must survive";
  const std::string cases[] = {damaged, std::string(4096, '\0') + "x"};
  for (const std::string& bytes : cases) {
    RegistrySandbox box;
    box.dir.write("registry.db", bytes);
    EXPECT_FALSE(RegistryKey::Open(RootKey::LocalMachine, "", false));
    EXPECT_FALSE(RegistryKey::Open(RootKey::LocalMachine, "New", true));
    EXPECT_EQ(platform::ReadWholeFile(box.dir / "registry.db"), bytes);
  }
}

TEST(Registry, AStoreThatCannotBeWrittenRefusesFullAccess) {
  RegistrySandbox box;
  ASSERT_TRUE(RegistryKey::Open(RootKey::LocalMachine, "K", true));
  ASSERT_EQ(chmod(box.dir.path().c_str(), 0755), 0);
  ASSERT_EQ(chown((box.dir / "registry.db").c_str(), 65534, 65534), 0);
  // The folder belongs to root: nobody may write the file but not its journal.
  int folder_locked = RunAsNobody([] { return RegistryKey::Open(RootKey::LocalMachine, "K", false) ? 1 : 0; });
  if (folder_locked == -1) GTEST_SKIP() << "cannot drop root";
  EXPECT_EQ(folder_locked, 0);

  ASSERT_EQ(chown(box.dir.path().c_str(), 65534, 65534), 0);
  EXPECT_EQ(RunAsNobody([] { return RegistryKey::Open(RootKey::LocalMachine, "K", false) ? 0 : 1; }), 0);
  ASSERT_EQ(chmod((box.dir / "registry.db").c_str(), 0400), 0);
  EXPECT_EQ(RunAsNobody([] { return RegistryKey::Open(RootKey::LocalMachine, "K", false) ? 1 : 0; }), 0);
}

TEST(Registry, LogonValuesAppearAndGoInTheAutostartFolder) {
  RegistrySandbox box;
  RegistryKey run = MustOpen(RootKey::LocalMachine, kRunKey, false);
  const std::string entry = box.dir / "config/autostart/Quillmoor.desktop";

  ASSERT_TRUE(run.Set("Quillmoor", platform::kRegSz, std::string("\"/opt/my app/q\" auto\0", 22)));
  std::optional<std::string> text = platform::ReadWholeFile(entry);
  ASSERT_TRUE(text);
  EXPECT_NE(text->find("\nExec=\"/opt/my app/q\" auto\n"), std::string::npos) << *text;
  EXPECT_NE(text->find("[Desktop Entry]\n"), std::string::npos);

  // Rewritten under another spelling, the entry keeps its file; quoting
  // follows the desktop-entry rules.
  ASSERT_TRUE(run.Set("QUILLMOOR", platform::kRegSz, std::string("/opt/q$%\\x auto\0", 16)));
  text = platform::ReadWholeFile(entry);
  ASSERT_TRUE(text);
  EXPECT_NE(text->find("\nExec=\"/opt/q\\\\$%%\\\\\\\\x\" auto\n"), std::string::npos) << *text;

  EXPECT_TRUE(run.Remove("quillmoor"));
  EXPECT_FALSE(platform::FileExists(entry));

  // A separator in a value name stays inside the autostart folder; an entry
  // disappears with its key; values elsewhere are not mirrored.
  ASSERT_TRUE(run.Set("../evil", platform::kRegSz, std::string("x\0", 2)));
  EXPECT_TRUE(platform::FileExists(box.dir / "config/autostart/.._evil.desktop"));
  EXPECT_TRUE(RegistryKey::DeleteTree(RootKey::LocalMachine, "\\Software\\Microsoft\\Windows\\CurrentVersion"));
  EXPECT_FALSE(platform::FileExists(box.dir / "config/autostart/.._evil.desktop"));
  RegistryKey other = MustOpen(RootKey::CurrentUser, kRunKey, true);
  ASSERT_TRUE(other.Set("Quillmoor", platform::kRegSz, std::string("x\0", 2)));
  EXPECT_FALSE(platform::FileExists(entry));
}
