#include "settings/Registry.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/Sandbox.h"

namespace {

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ERegistryException& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(TRegistry, NumberReadsTakeAtMostFourBytesOfANumber) {
  RegistrySandbox box;
  struct Case {
    uint32_t type;
    std::optional<std::string> data;  // nothing: the value is missing
    int32_t value;
    std::string error;
  };
  const Case cases[] = {
      {platform::kRegSz, std::nullopt, 0, "获得 'V' 数据失败"},
      {platform::kRegSz, std::string("0\0", 2), 0, "无效的数据类型给予 'V'"},
      {platform::kRegSz, std::string("12345\0", 6), 0, "获得 'V' 数据失败"},
      {platform::kRegDword, std::string("\x05\0\0\0", 4), 5, ""},
      {platform::kRegDword, std::string("\xff\xff\xff\xff", 4), -1, ""},
      {platform::kRegDword, std::string("\x07\x01", 2), 0x107, ""},
      {platform::kRegBinary, std::string("\x05\0\0\0", 4), 0, "无效的数据类型给予 'V'"},
      {platform::kRegQword, std::string(8, '\0'), 0, "获得 'V' 数据失败"},
  };
  for (const Case& c : cases) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\K", true));
    {
      std::optional<platform::RegistryKey> raw = platform::RegistryKey::Open(platform::RootKey::LocalMachine, "K", false);
      raw->Remove("V");
      if (c.data) raw->Set("V", c.type, *c.data);
    }
    int32_t got = 0;
    EXPECT_EQ(ErrorOf([&] { got = reg.ReadInteger("V"); }), c.error) << testing::PrintToString(c.data);
    EXPECT_EQ(got, c.value);
    EXPECT_EQ(ErrorOf([&] { reg.ReadBool("V"); }), c.error);
  }
}

TEST(TRegistry, StringReadsTakeTextUpToTheFirstNul) {
  RegistrySandbox box;
  TRegistry reg(platform::RootKey::CurrentUser);
  EXPECT_EQ(reg.ReadString("Recent"), "");  // no key open
  ASSERT_TRUE(reg.OpenKey("\\K", true));
  std::optional<platform::RegistryKey> raw = platform::RegistryKey::Open(platform::RootKey::CurrentUser, "K", false);
  raw->Set("plain", platform::kRegSz, std::string("/a b\0junk", 9));
  raw->Set("expand", platform::kRegExpandSz, std::string("$HOME/x\0", 8));
  raw->Set("unended", platform::kRegSz, "abc");
  raw->Set("number", platform::kRegDword, std::string(4, '\0'));
  EXPECT_EQ(reg.ReadString("plain"), "/a b");
  EXPECT_EQ(reg.ReadString("expand"), "$HOME/x");
  EXPECT_EQ(reg.ReadString("unended"), "abc");
  EXPECT_EQ(reg.ReadString("missing"), "");
  EXPECT_EQ(ErrorOf([&] { reg.ReadString("number"); }), "无效的数据类型给予 'number'");
}

TEST(TRegistry, WritesStoreTypesAndFailWithoutAKey) {
  RegistrySandbox box;
  TRegistry reg;
  EXPECT_EQ(ErrorOf([&] { reg.WriteBool("Temp", true); }), "设置 'Temp' 数据失败");
  EXPECT_FALSE(reg.OpenKey("\\Missing", false));
  EXPECT_EQ(ErrorOf([&] { reg.WriteString("Dir", "x"); }), "设置 'Dir' 数据失败");
  ASSERT_TRUE(reg.OpenKey("\\K", true));
  reg.WriteString("Dir", "/opt/q/");
  reg.WriteBool("On", true);
  reg.WriteInteger("Total", -2);
  std::optional<platform::RegistryKey> raw = platform::RegistryKey::Open(platform::RootKey::LocalMachine, "K", false);
  EXPECT_EQ(raw->Get("Dir")->data, std::string("/opt/q/\0", 8));
  EXPECT_EQ(raw->Get("Dir")->type, platform::kRegSz);
  EXPECT_EQ(raw->Get("On")->data, std::string("\1\0\0\0", 4));
  EXPECT_EQ(raw->Get("Total")->data, "\xfe\xff\xff\xff");
  EXPECT_EQ(raw->Get("Total")->type, platform::kRegDword);
  EXPECT_EQ(reg.ValueCount(), 3);
  EXPECT_TRUE(reg.DeleteValue("on"));
  EXPECT_FALSE(reg.DeleteValue("on"));
  reg.CloseKey();
  EXPECT_EQ(reg.ValueCount(), 0);
}
