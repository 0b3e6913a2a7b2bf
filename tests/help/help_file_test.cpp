#include "help/HelpFile.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using help::HelpFile;
using help::Paragraph;
using help::ParagraphStyle;
using help::Topic;

HelpFile Sample() {
  HelpFile f;
  f.title = "Quillmoor \xB0\xEF\xD6\xFA";  // "帮助"
  f.topics = {
      {"\xC4\xBF\xC2\xBC", "contents", 0,
       {{ParagraphStyle::kHeading, "\xC4\xBF\xC2\xBC"}, {ParagraphStyle::kBody, "line one\nline two"}}},
      {"Main window", "main", 2, {{ParagraphStyle::kBody, "The main window."}}},
      {"Clean and scan", "clean_scan", 3,
       {{ParagraphStyle::kHeading, "Clean"}, {ParagraphStyle::kBody, "\xC7\xE5\xC0\xED"},
        {ParagraphStyle::kBody, ""}, {ParagraphStyle::kBody, "tab\there"}}},
      {"Numbered high", "v1.2", 0x12345678, {{ParagraphStyle::kBody, "x"}}},
  };
  f.contents_topic = 0;
  return f;
}

TEST(HelpFile, RoundTripKeepsTopicsNumbersAndText) {
  HelpFile in = Sample();
  in.contents_topic = 1;
  auto out = help::Read(help::Write(in));
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(*out, in);
  ASSERT_NE(out->FindByNumber(3), nullptr);
  EXPECT_EQ(out->FindByNumber(3)->context, "clean_scan");
  EXPECT_EQ(out->FindByNumber(2)->title, "Main window");
  EXPECT_EQ(out->FindByNumber(0), nullptr);
  EXPECT_EQ(out->FindByNumber(4), nullptr);
}

TEST(HelpFile, TopicsSpanningManyBlocksRoundTrip) {
  // Enough text to fill several 4 KiB topic blocks, with records crossing
  // block boundaries and enough topics for multi-page trees.
  HelpFile in;
  in.title = "big";
  for (int i = 0; i < 300; ++i) {
    Topic t{"Topic " + std::to_string(i), "t" + std::to_string(i), static_cast<uint32_t>(i + 1), {}};
    t.paragraphs.push_back({ParagraphStyle::kBody, std::string(50 + i * 7 % 900, static_cast<char>('a' + i % 26))});
    in.topics.push_back(t);
  }
  in.contents_topic = 299;
  auto out = help::Read(help::Write(in));
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(*out, in);
}

TEST(HelpFile, TopicWithoutParagraphsGetsAnEmptyOne) {
  HelpFile in;
  in.topics = {{"A", "a", 2, {}}, {"B", "b", 3, {}}};
  auto out = help::Read(help::Write(in));
  ASSERT_TRUE(out.has_value());
  ASSERT_EQ(out->topics.size(), 2u);
  EXPECT_EQ(out->topics[1].paragraphs, std::vector<Paragraph>{Paragraph{}});
  EXPECT_EQ(out->FindByNumber(3)->title, "B");
}

TEST(HelpFile, ContextHashMatchesTheFormat) {
  // Known values: the hash ignores case, and "" is 1.
  EXPECT_EQ(help::ContextHash(""), 1u);
  EXPECT_EQ(help::ContextHash("a"), 17u);
  EXPECT_EQ(help::ContextHash("A1"), 17u * 43 + 1);
  EXPECT_EQ(help::ContextHash("Contents"), help::ContextHash("CONTENTS"));
}

TEST(HelpFile, WriteRefusesWhatTheFormatCannotHold) {
  auto with = [](auto change) {
    HelpFile f = Sample();
    change(f);
    return f;
  };
  const HelpFile bad[] = {
      with([](HelpFile& f) { f.topics.clear(); }),
      with([](HelpFile& f) { f.contents_topic = 4; }),
      with([](HelpFile& f) { f.topics[1].context = ""; }),
      with([](HelpFile& f) { f.topics[1].context = "has space"; }),
      with([](HelpFile& f) { f.topics[1].context = "CONTENTS"; }),  // same hash as "contents"
      with([](HelpFile& f) { f.topics[1].context_number = 3; }),
      with([](HelpFile& f) { f.topics[1].paragraphs[0].text = std::string("a\0b", 3); }),
  };
  for (const HelpFile& f : bad) EXPECT_THROW(help::Write(f), std::invalid_argument);
}

TEST(HelpFile, DamagedOrForeignBytesAreRefused) {
  const std::string good = help::Write(Sample());
  ASSERT_TRUE(help::Read(good));
  EXPECT_FALSE(help::Read(""));
  EXPECT_FALSE(help::Read("not a help file at all"));
  // Every truncation, and a wrong magic number.
  for (size_t n = 0; n < good.size(); n += 97) EXPECT_FALSE(help::Read(good.substr(0, n))) << n;
  std::string bad_magic = good;
  bad_magic[0] = 'X';
  EXPECT_FALSE(help::Read(bad_magic));
  // Flipping bytes anywhere must never read outside the data (the
  // sanitizers watch this); most flips are refused, some survive harmlessly.
  for (size_t i = 0; i < good.size(); i += 13) {
    std::string flipped = good;
    flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
    (void)help::Read(flipped);
  }
}

TEST(HelpFile, FileLayoutIsTheOneViewersExpect) {
  const std::string bytes = help::Write(Sample());
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8 |
                                 static_cast<unsigned char>(bytes[at + 2]) << 16 |
                                 static_cast<unsigned char>(bytes[at + 3]) << 24);
  };
  EXPECT_EQ(u32(0), 0x00035F3Fu);
  EXPECT_EQ(u32(12), bytes.size());
  for (const char* name : {"|SYSTEM", "|TOPIC", "|FONT", "|CONTEXT", "|CTXOMAP", "|TTLBTREE"})
    EXPECT_NE(bytes.find(std::string(name) + '\0'), std::string::npos) << name;
  // |SYSTEM says version 3.1 (minor 21), uncompressed.
  size_t system = bytes.find(std::string("\x6C\x03\x15\x00\x01\x00", 6));
  ASSERT_NE(system, std::string::npos);
}

}  // namespace
