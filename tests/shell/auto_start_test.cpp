// The unattended start end to end: the program copied into a folder of its
// own with its own "qm.ini", a settings store of its own, and no display.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <vector>

#include "settings/LineList.h"
#include "settings/Options.h"
#include "settings/Registry.h"
#include "support/Sandbox.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

int RunWithoutDisplay(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    if (entry.rfind("DISPLAY=", 0) == 0 || entry.rfind("WAYLAND_DISPLAY=", 0) == 0) continue;
    env.push_back(entry);
  }
  std::vector<char*> envp, argv{const_cast<char*>(program.c_str())};
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class AutoStart : public ::testing::Test {
 protected:
  AutoStart() {
    fs::create_directories(program_dir);
    fs::copy_file(QUILLMOOR_PROGRAM, program);
  }
  int32_t Counter() {
    TRegistry reg;
    if (!reg.OpenKey(kSettingsKey, false)) return -1;
    return reg.ReadInteger(kCleanedValue);
  }

  RegistrySandbox sandbox;
  std::string program_dir = sandbox.dir / "program folder";
  std::string program = program_dir + "/quillmoor";
};

TEST_F(AutoStart, CleansTheListedFoldersGrowsTheCounterAndEndsWithZero) {
  testing_support::TempDir target;
  target.write("junk.tmp", std::string(10 * 1024, 'j'));
  target.write("deep/er/more.log", std::string(2048, 'm'));
  target.write("desktop.ini", "kept");
  SaveLineList(program_dir + "/qm.ini", {target.path()});

  EXPECT_EQ(RunWithoutDisplay(program, {"AUTO"}), 0);
  EXPECT_FALSE(target.exists("junk.tmp"));
  EXPECT_FALSE(target.exists("deep"));
  EXPECT_TRUE(target.exists("desktop.ini"));
  EXPECT_EQ(Counter(), 12);

  target.write("again.tmp", std::string(3 * 1024, 'a'));
  EXPECT_EQ(RunWithoutDisplay(program, {"auto"}), 0);
  EXPECT_EQ(Counter(), 15);
}

TEST_F(AutoStart, AFolderThatIsGoneEndsWithStatusOneWithoutADisplay) {
  SaveLineList(program_dir + "/qm.ini", {sandbox.dir / "no such folder"});
  EXPECT_EQ(RunWithoutDisplay(program, {"auto"}), 1);
}

}  // namespace
