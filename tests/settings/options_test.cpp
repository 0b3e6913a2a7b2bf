#include "settings/Options.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>

#include "platform/files.h"
#include "support/Sandbox.h"

using platform::RegistryKey;
using platform::RootKey;

namespace {

std::optional<RegistryKey> SettingsKey() { return RegistryKey::Open(RootKey::LocalMachine, kSettingsKey, false); }

void FirstRun() {
  TRegistry reg;
  ASSERT_FALSE(CheckRegInit(reg));
  InitOptions(reg, "/opt/q/");
  ASSERT_TRUE(CheckRegInit(reg));
}

}  // namespace

TEST(Options, MegabyteDisplay) {
  struct Case {
    int32_t kb;
    char separator;
    const char* shown;
  };
  const Case cases[] = {
      {0, '.', "0MB"},          {99, '.', "0MB"},          {150, '.', "0.1MB"},
      {1234, '.', "1.2MB"},     {1999, '.', "1.9MB"},      {10000, '.', "10MB"},
      {123456, '.', "123.4MB"}, {1234, ',', "1,2MB"},      {INT32_MAX, '.', "2147483.6MB"},
      {-150, '.', "-0.1MB"},    {-99, '.', "0MB"},         {INT32_MIN, '.', "-2147483.6MB"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatMegabytes(c.kb, c.separator), c.shown) << c.kb;
}

TEST(Options, CounterAdditionStopsAtTheEnds) {
  struct Case {
    int32_t total, kb, sum;
  };
  const Case cases[] = {
      {0, 1234, 1234},           {INT32_MAX - 1, 1, INT32_MAX}, {INT32_MAX - 1, 5, INT32_MAX},
      {INT32_MAX, INT32_MAX, INT32_MAX}, {INT32_MIN, -1, INT32_MIN},   {-5, 3, -2},
  };
  for (const Case& c : cases) EXPECT_EQ(AddSaturating(c.total, c.kb), c.sum) << c.total << "+" << c.kb;
}

TEST(Options, TagsAndLogonText) {
  const std::pair<int, const char*> tags[] = {{0, nullptr}, {1, "Temp"}, {2, "Recent"}, {3, "Cache"},
                                              {4, "History"}, {5, "Cookies"}, {6, nullptr}, {-1, nullptr}};
  for (auto [tag, name] : tags) EXPECT_STREQ(OptionNameForTag(tag), name) << tag;

  const std::pair<const char*, const char*> entries[] = {
      {"/opt/tools/quillmoor", "/opt/tools/quillmoor auto"},
      {"/opt/my tools/quillmoor", "\"/opt/my tools/quillmoor\" auto"},
  };
  for (auto [file, text] : entries) EXPECT_EQ(LogonEntryText(file), text);
}

TEST(Options, CompletenessNeedsExactlyTheEightValues) {
  RegistrySandbox box;
  FirstRun();
  std::optional<RegistryKey> key = SettingsKey();
  std::vector<platform::RegistryValue> values = key->Values();
  const char* order[] = {"InstallDir", "Temp", "Recent", "Cache", "History", "Cookies", "StClean", "Cleaned"};
  ASSERT_EQ(values.size(), 8u);
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(values[i].name, order[i]);
  EXPECT_EQ(values[0].data, std::string("/opt/q/\0", 8));
  for (size_t i = 1; i < 8; ++i) EXPECT_EQ(values[i].data, std::string(4, '\0')) << order[i];

  // Seven values (one deleted by hand) and nine (one added) both fail, and
  // the defaults are written again over what was there.
  ASSERT_TRUE(key->Set("Temp", platform::kRegDword, std::string("\5\0\0\0", 4)));
  ASSERT_TRUE(key->Remove("Cookies"));
  TRegistry reg;
  EXPECT_FALSE(CheckRegInit(reg));
  InitOptions(reg, "/opt/q/");
  EXPECT_TRUE(CheckRegInit(reg));
  EXPECT_FALSE(reg.ReadBool("Temp"));
  ASSERT_TRUE(key->Set("Foreign", platform::kRegSz, std::string("\0", 1)));
  EXPECT_FALSE(CheckRegInit(reg));
}

TEST(Options, FolderOptionsWriteThroughOnlyForKnownTags) {
  RegistrySandbox box;
  StoreFolderOption(3, true);  // no key yet: nothing happens
  EXPECT_FALSE(SettingsKey());
  FirstRun();
  StoreFolderOption(3, true);
  StoreFolderOption(0, true);
  StoreFolderOption(6, true);
  TRegistry reg;
  ASSERT_TRUE(CheckRegInit(reg));
  EXPECT_TRUE(reg.ReadBool("Cache"));
  StoreFolderOption(3, false);
  EXPECT_FALSE(reg.ReadBool("Cache"));
}

TEST(Options, StartWithWindowsWritesTheOptionThenTheLogonEntry) {
  RegistrySandbox box;
  const std::string autostart = box.dir / "config/autostart/Quillmoor.desktop";
  StoreStartWithWindows(true, "/opt/q/quillmoor");  // no settings key: nothing
  EXPECT_FALSE(platform::FileExists(autostart));
  FirstRun();

  StoreStartWithWindows(true, "/opt/my tools/quillmoor");
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kSettingsKey, false));
  EXPECT_TRUE(reg.ReadBool("StClean"));
  ASSERT_TRUE(reg.OpenKey(kRunKey, false));
  EXPECT_EQ(reg.ReadString("Quillmoor"), "\"/opt/my tools/quillmoor\" auto");
  std::optional<std::string> entry = platform::ReadWholeFile(autostart);
  ASSERT_TRUE(entry);
  EXPECT_NE(entry->find("\nExec=\"/opt/my tools/quillmoor\" auto\n"), std::string::npos) << *entry;

  StoreStartWithWindows(false, "/opt/my tools/quillmoor");
  StoreStartWithWindows(false, "/opt/my tools/quillmoor");  // no entry left: not reported
  EXPECT_FALSE(reg.ValueExists("Quillmoor"));
  EXPECT_FALSE(platform::FileExists(autostart));
  ASSERT_TRUE(reg.OpenKey(kSettingsKey, false));
  EXPECT_FALSE(reg.ReadBool("StClean"));

  // Without the run key only the option changes.
  ASSERT_TRUE(RegistryKey::DeleteTree(RootKey::LocalMachine, kRunKey));
  StoreStartWithWindows(true, "/opt/q/quillmoor");
  EXPECT_TRUE(reg.ReadBool("StClean"));
  EXPECT_FALSE(RegistryKey::Open(RootKey::LocalMachine, kRunKey, false));
}

TEST(Options, CounterAddsStoresAndReportsReadFailures) {
  RegistrySandbox box;
  EXPECT_EQ(AddToCounter(5), std::nullopt);
  FirstRun();
  EXPECT_EQ(AddToCounter(1234), 1234);
  EXPECT_EQ(AddToCounter(0), 1234);
  std::optional<RegistryKey> key = SettingsKey();
  ASSERT_TRUE(key->Set("Cleaned", platform::kRegDword, "\xfe\xff\xff\x7f"));
  EXPECT_EQ(AddToCounter(10), INT32_MAX);

  ASSERT_TRUE(key->Set("Cleaned", platform::kRegSz, std::string("0\0", 2)));
  try {
    AddToCounter(1);
    ADD_FAILURE() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "无效的数据类型给予 'Cleaned'");
  }
  EXPECT_EQ(key->Get("Cleaned")->data, std::string("0\0", 2));
  // The failed transaction is over: the store takes writes again.
  ASSERT_TRUE(key->Set("Cleaned", platform::kRegDword, std::string(4, '\0')));
  EXPECT_EQ(AddToCounter(1), 1);
}

TEST(Options, CounterLosesNothingBetweenRunningCopies) {
  // Every addition is flushed to disk; in memory-backed storage, where a
  // flush costs nothing, the locking between the copies is what is tested.
  std::optional<testing_support::ScopedEnv> memory;
  if (access("/dev/shm", W_OK) == 0) memory.emplace("TMPDIR", "/dev/shm");
  RegistrySandbox box;
  FirstRun();
  constexpr int kCopies = 2, kAdditions = 2000;
  std::vector<pid_t> children;
  for (int i = 0; i < kCopies; ++i) {
    pid_t pid = fork();
    if (pid == 0) {
      int code = 0;
      try {
        for (int n = 0; n < kAdditions; ++n)
          if (!AddToCounter(1)) code = 1;
      } catch (...) {
        code = 2;
      }
      _exit(code);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kSettingsKey, false));
  EXPECT_EQ(reg.ReadInteger("Cleaned"), kCopies * kAdditions);
}
