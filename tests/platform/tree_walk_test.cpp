#include "platform/tree_walk.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace fs = std::filesystem;
using testing_support::TempDir;

namespace {

// Records what the walk reports, files as "folder|name|size".
class Recorder final : public platform::TreeVisitor {
 public:
  void EnterFolder(const std::string& path, int depth) override {
    folders.push_back(path + "@" + std::to_string(depth));
    current = path;
  }
  bool WantFile(std::string_view) override { return true; }
  void File(const platform::WalkedFile& file) override {
    files.push_back(current + "|" + std::string(file.name) + "|" + std::to_string(file.size));
  }
  std::vector<std::string> folders, files;
  std::string current;
};

TEST(TreeWalk, ReportsRegularFilesInPreOrderWithoutFollowingLinks) {
  TempDir tmp;
  TempDir outside;
  outside.write("secret.bak", "x");
  tmp.write("root.bak", "12345");
  tmp.write("a/one.bak", "1");
  tmp.write("a/b/two.bak", "22");
  tmp.write("a/b/c/three.bak", "333");
  tmp.mkdir(".hidden");
  tmp.write("z/four.bak", "4444");
  fs::create_symlink(tmp / "a/one.bak", tmp / "a/link.bak");
  fs::create_directory_symlink(outside.path(), tmp / "a/out");
  fs::create_directory_symlink(tmp.path(), tmp / "a/b/loop");
  ASSERT_EQ(mkfifo((tmp / "a/pipe.bak").c_str(), 0644), 0);
  int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::string socket_path = tmp / "a/sock.bak";
  ASSERT_LT(socket_path.size(), sizeof(address.sun_path));
  std::strcpy(address.sun_path, socket_path.c_str());
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ASSERT_EQ(mknod((tmp / "a/null.bak").c_str(), S_IFCHR | 0600, makedev(1, 3)), 0);

  Recorder recorder;
  ASSERT_TRUE(platform::WalkTree(tmp.path() + "/", recorder));
  close(sock);

  std::vector<std::string> folders = recorder.folders, files = recorder.files;
  std::sort(files.begin(), files.end());
  // Siblings come in listing order; only the chains are fixed.
  auto position = [&](const std::string& f) { return std::find(folders.begin(), folders.end(), f) - folders.begin(); };
  ASSERT_EQ(folders.size(), 6u);
  EXPECT_EQ(folders[0], tmp.path() + "@0");
  EXPECT_LT(position(tmp / "a@1"), position(tmp / "a/b@2"));
  EXPECT_LT(position(tmp / "a/b@2"), position(tmp / "a/b/c@3"));
  EXPECT_NE(position(tmp / ".hidden@1"), 6);
  EXPECT_NE(position(tmp / "z@1"), 6);
  std::vector<std::string> expected = {
      tmp.path() + "/a/b/c|three.bak|3", tmp.path() + "/a/b|two.bak|2", tmp.path() + "/a|one.bak|1",
      tmp.path() + "/z|four.bak|4", tmp.path() + "|root.bak|5"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(files, expected);
}

TEST(TreeWalk, StaysOnTheRootsFilesystem) {
  TempDir tmp;
  tmp.write("disk/kept.bak", "x");
  tmp.mkdir("mounted");
  if (mount("none", (tmp / "mounted").c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here";
  struct Unmount {
    std::string path;
    ~Unmount() { umount2(path.c_str(), MNT_DETACH); }
  } unmount{tmp / "mounted"};
  tmp.write("mounted/other.bak", "y");

  Recorder recorder;
  ASSERT_TRUE(platform::WalkTree(tmp.path(), recorder));
  EXPECT_EQ(recorder.files, std::vector<std::string>{tmp.path() + "/disk|kept.bak|1"});
  EXPECT_EQ(std::count(recorder.folders.begin(), recorder.folders.end(), tmp / "mounted@1"), 0);
}

TEST(TreeWalk, MissingOrRelativeRootIsRefused) {
  Recorder recorder;
  EXPECT_FALSE(platform::WalkTree("/nonexistent-quillmoor-root", recorder));
  EXPECT_FALSE(platform::WalkTree("relative", recorder));
  EXPECT_TRUE(recorder.folders.empty());
}

TEST(TreeWalk, JoinPathNeverDoublesTheSeparator) {
  const struct {
    const char *folder, *name, *joined;
  } cases[] = {{"/", "usr", "/usr"}, {"/home", "a", "/home/a"}, {"/home/", "a", "/home/a"}};
  for (const auto& c : cases) EXPECT_EQ(platform::JoinPath(c.folder, c.name), c.joined);
}

}  // namespace
