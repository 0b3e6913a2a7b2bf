#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(SplitCommandLine, SplitsAtBlanksAndControlsAndGroupsQuotes) {
  struct Case {
    std::string raw;
    std::vector<std::string> elements;
  };
  const Case cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"prog", {"prog"}},
      {"prog auto", {"prog", "auto"}},
      {"  prog \t\r\n auto  x ", {"prog", "auto", "x"}},
      {"\"/opt/my app/prog\" auto", {"/opt/my app/prog", "auto"}},
      {"/opt/my app/prog auto", {"/opt/my", "app/prog", "auto"}},
      {"prog \"\" auto", {"prog", "", "auto"}},
      {"prog a\"b c\"d", {"prog", "ab cd"}},
      {"prog \"unclosed tail", {"prog", "unclosed tail"}},
      {"prog \"tab\tinside\"", {"prog", "tab\tinside"}},
      {std::string("prog auto\0ignored", 17), {"prog", "auto"}},
      {"prog \xd6\xd0\xce\xc4", {"prog", "\xd6\xd0\xce\xc4"}},  // high bytes are text
  };
  for (const Case& c : cases) EXPECT_EQ(platform::SplitCommandLine(c.raw), c.elements) << c.raw;
}
