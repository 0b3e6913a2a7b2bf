#include "platform/delete_listed.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "support/TempDir.h"

namespace fs = std::filesystem;
using testing_support::TempDir;

namespace {

platform::FileIdentity IdentityOf(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return {};
  return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

struct Case {
  const char* what;
  // Changes the tree after the scan saw dir/victim.tmp.
  std::function<void(const TempDir&)> after_scan;
  bool in_use;
  bool deleted;
};

TEST(DeleteListedFile, DeletesOnlyTheFileTheScanSaw) {
  const Case cases[] = {
      {"unchanged", [](const TempDir&) {}, false, true},
      {"in use", [](const TempDir&) {}, true, false},
      {"gone", [](const TempDir& t) { fs::remove(t / "dir/victim.tmp"); }, false, false},
      {"replaced by another file",
       [](const TempDir& t) {
         // The old file is kept elsewhere so its inode number is not reused.
         fs::rename(t / "dir/victim.tmp", t / "keep/victim.tmp");
         t.write("dir/victim.tmp", "new");
       },
       false, false},
      {"replaced by a link to a file",
       [](const TempDir& t) {
         fs::rename(t / "dir/victim.tmp", t / "keep/victim.tmp");
         fs::create_symlink(t / "keep/victim.tmp", t / "dir/victim.tmp");
       },
       false, false},
      {"folder replaced by a link to the folder now holding the file",
       [](const TempDir& t) {
         fs::rename(t / "dir/victim.tmp", t / "keep/victim.tmp");
         fs::remove(t / "dir");
         fs::create_directory_symlink(t / "keep", t / "dir");
       },
       false, false},
  };
  for (const Case& c : cases) {
    TempDir tmp;
    tmp.write("dir/victim.tmp", "old");
    tmp.mkdir("keep");
    platform::FileIdentity seen = IdentityOf(tmp / "dir/victim.tmp");
    c.after_scan(tmp);
    bool asked = false;
    auto in_use = [&](const platform::FileIdentity& id) {
      asked = true;
      EXPECT_EQ(id, seen);
      return c.in_use;
    };
    EXPECT_EQ(platform::DeleteListedFile(tmp / "dir", "victim.tmp", seen, in_use), c.deleted) << c.what;
    if (c.deleted) {
      EXPECT_FALSE(tmp.exists("dir/victim.tmp")) << c.what;
    }
    // Whatever the scan saw and moved away survives.
    if (tmp.exists("keep/victim.tmp")) {
      EXPECT_EQ(IdentityOf(tmp / "keep/victim.tmp"), seen) << c.what;
    }
    if (c.in_use) {
      EXPECT_TRUE(asked && tmp.exists("dir/victim.tmp")) << c.what;
    }
  }
}

TEST(DeleteListedFile, RefusesNamesThatAreNotPlainAndFoldersThatAreNotAbsolute) {
  TempDir tmp;
  tmp.write("dir/a.tmp", "x");
  platform::FileIdentity id = IdentityOf(tmp / "dir/a.tmp");
  EXPECT_FALSE(platform::DeleteListedFile(tmp.path(), "dir/a.tmp", id, nullptr));
  EXPECT_FALSE(platform::DeleteListedFile(tmp / "dir/..", "dir", IdentityOf(tmp / "dir"), nullptr));
  EXPECT_FALSE(platform::DeleteListedFile(tmp / "dir", "..", id, nullptr));
  EXPECT_FALSE(platform::DeleteListedFile("relative/dir", "a.tmp", id, nullptr));
  EXPECT_TRUE(tmp.exists("dir/a.tmp"));
}

// Runs the deletion as the unprivileged user "nobody" in a child process;
// the child's exit code says whether it deleted.
int DeleteAsNobody(const std::string& folder, const std::string& name, platform::FileIdentity id) {
  pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    _exit(platform::DeleteListedFile(folder, name, id, nullptr) ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 3;
}

TEST(DeleteListedFile, ReadOnlyFileInReadOnlyFolderStays) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to hand the files to another user";
  for (bool folder_writable : {false, true}) {
    TempDir tmp;
    fs::permissions(tmp.path(), fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
    tmp.write("ro/locked.tmp", "x");
    ASSERT_EQ(chown((tmp / "ro").c_str(), 65534, 65534), 0);
    ASSERT_EQ(chown((tmp / "ro/locked.tmp").c_str(), 65534, 65534), 0);
    chmod((tmp / "ro/locked.tmp").c_str(), 0444);
    chmod((tmp / "ro").c_str(), folder_writable ? 0755 : 0555);
    int result = DeleteAsNobody(tmp / "ro", "locked.tmp", IdentityOf(tmp / "ro/locked.tmp"));
    ASSERT_NE(result, 2) << "cannot become nobody";
    // The writable folder shows that the child could delete at all.
    EXPECT_EQ(result, folder_writable ? 1 : 0);
    EXPECT_EQ(tmp.exists("ro/locked.tmp"), !folder_writable);
  }
}

}  // namespace

namespace {

// A remover keeps the folders it reached open; the identity test still
// decides for every later file in them.
TEST(ListedFileRemover, ReusesFoldersAndStillChecksEachFile) {
  TempDir tmp;
  tmp.write("dir/a.tmp", "a");
  tmp.write("dir/b.tmp", "b");
  tmp.write("dir/c.tmp", "c");
  tmp.write("other/c.tmp", "elsewhere");
  platform::FileIdentity a = IdentityOf(tmp / "dir/a.tmp"), b = IdentityOf(tmp / "dir/b.tmp");
  platform::FileIdentity wrong = IdentityOf(tmp / "other/c.tmp");
  platform::ListedFileRemover remover;
  EXPECT_TRUE(remover.Delete(tmp / "dir", "a.tmp", a));
  EXPECT_FALSE(remover.Delete(tmp / "dir", "c.tmp", wrong));
  EXPECT_TRUE(remover.Delete(tmp / "dir", "b.tmp", b));
  EXPECT_FALSE(remover.Delete(tmp / "dir", "b.tmp", b));
  EXPECT_TRUE(tmp.exists("dir/c.tmp"));
  EXPECT_TRUE(tmp.exists("other/c.tmp"));
}

}  // namespace
