#include "platform/temp_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/TempDir.h"

namespace {

// Sets or clears one variable for the life of the object.
struct EnvSlot {
  EnvSlot(const char* name, const char* value) : env(name, "") {
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  testing_support::ScopedEnv env;
};

}  // namespace

TEST(TempPath, FollowsTheVariablesInOrderAndEndsInSeparator) {
  const std::string long_path = "/" + std::string(258, 'x');  // 259 bytes, 260 with the separator
  const std::string too_long = long_path + "y";
  struct Case {
    const char *tmpdir, *tmp, *temp;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"/a", "/b", "/c", "/a/"},
      {nullptr, "/b/", "/c", "/b/"},
      {"", nullptr, "/c", "/c/"},
      {nullptr, nullptr, nullptr, "/tmp/"},
      {long_path.c_str(), nullptr, nullptr, long_path + "/"},
      {too_long.c_str(), nullptr, nullptr, std::nullopt},
  };
  for (const Case& c : cases) {
    std::string tmpdir = c.tmpdir ? c.tmpdir : "";  // keep the text alive
    EnvSlot a("TMPDIR", c.tmpdir ? tmpdir.c_str() : nullptr), b("TMP", c.tmp), d("TEMP", c.temp);
    EXPECT_EQ(platform::TempPath(), c.expected) << tmpdir.size();
  }
}
