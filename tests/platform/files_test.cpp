#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/Sandbox.h"
#include "support/TempDir.h"

using testing_support::TempDir;

TEST(Files, ExistsOnlyForFiles) {
  TempDir dir;
  dir.write("f", "x");
  dir.mkdir("d");
  EXPECT_TRUE(platform::FileExists(dir / "f"));
  EXPECT_FALSE(platform::FileExists(dir / "d"));
  EXPECT_FALSE(platform::FileExists(dir / "missing"));
}

TEST(Files, ReplaceWritesExactBytesAndKeepsTheMode) {
  TempDir dir;
  const std::string bytes("a\r\n\0\xff", 5);
  ASSERT_TRUE(platform::ReplaceFile(dir / "list", bytes));
  EXPECT_EQ(platform::ReadWholeFile(dir / "list"), bytes);
  ASSERT_EQ(chmod((dir / "list").c_str(), 0640), 0);
  ASSERT_TRUE(platform::ReplaceFile(dir / "list", ""));
  EXPECT_EQ(platform::ReadWholeFile(dir / "list"), "");
  struct stat st;
  ASSERT_EQ(stat((dir / "list").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(Files, FailuresLeaveThePreviousFileWhole) {
  TempDir dir;
  EXPECT_FALSE(platform::ReplaceFile(dir / "no/such/folder/list", "x"));
  dir.mkdir("folder");
  EXPECT_FALSE(platform::ReplaceFile(dir / "folder", "x"));
  EXPECT_FALSE(platform::ReadWholeFile(dir / "folder"));
  EXPECT_FALSE(platform::ReadWholeFile(dir / "missing"));

  // Rights only bind a user other than root.
  dir.write("rw/readonly", "old");
  dir.write("ro/in-readonly-folder", "old");
  ASSERT_EQ(chown((dir / "ro").c_str(), 65534, 65534), 0);
  ASSERT_EQ(chown((dir / "rw/readonly").c_str(), 65534, 65534), 0);
  ASSERT_EQ(chmod((dir / "rw/readonly").c_str(), 0444), 0);
  ASSERT_EQ(chown((dir / "ro/in-readonly-folder").c_str(), 65534, 65534), 0);
  ASSERT_EQ(chown((dir / "rw").c_str(), 65534, 65534), 0);
  ASSERT_EQ(chmod((dir / "ro").c_str(), 0555), 0);
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  int status = RunAsNobody([&] {
    bool refused = !platform::ReplaceFile(dir / "rw/readonly", "new") &&
                   !platform::ReplaceFile(dir / "ro/in-readonly-folder", "new");
    return refused ? 0 : 1;
  });
  if (status == -1) GTEST_SKIP() << "cannot drop root";
  EXPECT_EQ(status, 0);
  EXPECT_EQ(platform::ReadWholeFile(dir / "rw/readonly"), "old");
  EXPECT_EQ(platform::ReadWholeFile(dir / "ro/in-readonly-folder"), "old");
}
