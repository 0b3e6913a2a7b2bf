#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "help/HelpFile.h"
#include "platform/codepage.h"

namespace {

TEST(BuiltHelpFile, HasTheContentsAndTheTopicsTheWindowAsksFor) {
  std::ifstream in(QUILLMOOR_HELP_FILE, std::ios::binary);
  ASSERT_TRUE(in) << QUILLMOOR_HELP_FILE;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  auto file = help::Read(bytes.str());
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->topics.at(file->contents_topic).context, "contents");
  struct {
    uint32_t number;
    const char* title;
  } expected[] = {{2, "主窗口"}, {3, "清理和扫描"}};
  for (const auto& e : expected) {
    const help::Topic* topic = file->FindByNumber(e.number);
    ASSERT_NE(topic, nullptr) << e.number;
    EXPECT_EQ(platform::AnsiToUtf8(topic->title), e.title);
    EXPECT_FALSE(topic->paragraphs.empty());
  }
  // The Clean and Scan topic explains the clean button and the logon option.
  std::string text;
  for (const help::Paragraph& p : file->FindByNumber(3)->paragraphs) text += platform::AnsiToUtf8(p.text);
  for (const char* phrase : {"现在清理", "在 Windows 启动时清理", "用户添加的目录", "扫描"})
    EXPECT_NE(text.find(phrase), std::string::npos) << phrase;
}

}  // namespace
