#include "settings/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, OnlyTheWordAutoAsFirstArgumentStartsUnattended) {
  struct Case {
    const char* raw;
    bool unattended;
  };
  const Case cases[] = {
      {"/opt/q/quillmoor", false},
      {"/opt/q/quillmoor auto", true},
      {"/opt/q/quillmoor AUTO", true},
      {"\"/opt/my q/quillmoor\" Auto", true},
      {"/opt/q/quillmoor \"auto\"", true},
      {"/opt/q/quillmoor autox", false},
      {"/opt/q/quillmoor /auto", false},
      {"/opt/q/quillmoor x auto", false},
      {"/opt/my q/quillmoor auto", false},  // unquoted blank: the first argument is "q/quillmoor"
  };
  for (const Case& c : cases) EXPECT_EQ(IsAutoArgument(FirstArgument(c.raw)), c.unattended) << c.raw;
}
