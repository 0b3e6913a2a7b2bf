#pragma once
#include <cstdint>

// Constants of the WinHelp 3.1 file layout shared by writer and reader.
namespace help::format {

constexpr uint32_t kFileMagic = 0x00035F3F;
constexpr uint16_t kSystemMagic = 0x036C;
constexpr uint16_t kVersionMinor31 = 21;
constexpr uint16_t kVersionMajor = 1;
constexpr size_t kFileHeaderSize = 9;  // reserved, used, flags

// Uncompressed topic blocks of 4 KiB, each opened by a 12-byte header.
constexpr size_t kTopicBlockSize = 4096;
constexpr size_t kTopicBlockHeaderSize = 12;
constexpr size_t kTopicBlockData = kTopicBlockSize - kTopicBlockHeaderSize;
constexpr size_t kTopicLinkSize = 21;
constexpr size_t kTopicHeaderSize = 28;

constexpr uint8_t kRecordTopicHeader = 0x02;
constexpr uint8_t kRecordText = 0x20;

constexpr uint16_t kSystemTitle = 1;
constexpr uint16_t kSystemContents = 3;
constexpr uint16_t kSystemCharset = 11;
constexpr uint8_t kCharsetGb2312 = 134;

// Fonts of the |FONT file: body text and headings.
constexpr uint16_t kFontBody = 0;
constexpr uint16_t kFontHeading = 1;

constexpr uint32_t kNone = 0xFFFFFFFF;

// A position in |TOPIC (TOPICPOS) from a position in the stream of block
// data, and back.
constexpr uint32_t TopicPos(size_t stream) {
  return static_cast<uint32_t>((stream / kTopicBlockData) * 0x4000 + kTopicBlockHeaderSize +
                               stream % kTopicBlockData);
}

}  // namespace help::format
