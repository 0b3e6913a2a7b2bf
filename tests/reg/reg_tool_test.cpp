#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "platform/registry.h"
#include "support/TempDir.h"

namespace {

struct ToolRun {
  int status;
  std::string out;
};

// Runs the tool with `arguments` (already quoted for the shell), standard
// input empty, and gives its exit status and standard output.
ToolRun Reg(const std::string& arguments) {
  std::string command = std::string("'") + QUILLMOOR_REG_PROGRAM + "' " + arguments + " </dev/null 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  ToolRun run{-1, ""};
  if (!pipe) return run;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

struct Sandbox {
  testing_support::TempDir dir;
  testing_support::ScopedEnv store{"QUILLMOOR_REGISTRY", dir / "registry.db"};
  testing_support::ScopedEnv config{"XDG_CONFIG_HOME", dir / "config"};
  testing_support::ScopedEnv cache{"XDG_CACHE_HOME", dir / "cache"};
  testing_support::ScopedEnv data{"XDG_DATA_HOME", dir / "data"};
};

}  // namespace

TEST(QuillmoorReg, AddsQueriesAndDeletesLikeTheRegTool) {
  Sandbox box;
  const std::string key = "'HKLM\\Software\\Vestrel\\Quillmoor'";
  struct Case {
    std::string arguments;
    int status;
  };
  const Case edits[] = {
      {"add " + key + " /v InstallDir /d '/opt/my q/'", 0},
      {"add " + key + " /v Cleaned /t REG_DWORD /d 0x1F", 0},
      {"add " + key + " /v Blob /t REG_BINARY /d 00ff10", 0},
      {"add " + key + " /v Cleaned /t REG_DWORD /d 7", 1},  // exists, no /f, no answer
      {"add " + key + "\\\\Sub /ve /d x", 0},
  };
  for (const Case& c : edits) EXPECT_EQ(Reg(c.arguments).status, c.status) << c.arguments;

  ToolRun query = Reg("query " + key);
  EXPECT_EQ(query.status, 0);
  EXPECT_EQ(query.out,
            "\nHKEY_LOCAL_MACHINE\\Software\\Vestrel\\Quillmoor\n"
            "    InstallDir    REG_SZ    /opt/my q/\n"
            "    Cleaned    REG_DWORD    0x1f\n"
            "    Blob    REG_BINARY    00FF10\n"
            "\n"
            "HKEY_LOCAL_MACHINE\\Software\\Vestrel\\Quillmoor\\Sub\n");
  EXPECT_EQ(Reg("query HKEY_LOCAL_MACHINE\\\\software\\\\vestrel\\\\quillmoor /v CLEANED").out,
            "\nHKEY_LOCAL_MACHINE\\software\\vestrel\\quillmoor\n    Cleaned    REG_DWORD    0x1f\n\n");

  const Case more[] = {
      {"delete " + key + " /v cleaned /f", 0},
      {"query " + key + " /v Cleaned", 1},
      {"delete " + key + " /f", 0},
      {"query " + key, 1},
      {"query HKXX\\\\Software", 1},
      {"add HKCU\\\\K /v N /t REG_DWORD /d 4294967296", 1},
      {"add HKCU\\\\K /v N /t REG_WHAT /d 1", 1},
      {"add HKCU\\\\K /v N /t REG_BINARY /d 0", 1},
      {"frobnicate HKCU\\\\K", 1},
      {"delete HKCU /f", 1},
  };
  for (const Case& c : more) EXPECT_EQ(Reg(c.arguments).status, c.status) << c.arguments;
  EXPECT_FALSE(platform::RegistryKey::Open(platform::RootKey::CurrentUser, "K", false));  // bad input adds nothing
}
