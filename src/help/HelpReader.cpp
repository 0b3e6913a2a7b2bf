#include <map>

#include "help/BTree.h"
#include "help/Bytes.h"
#include "help/Format.h"
#include "help/HelpFile.h"

namespace help {
namespace {

namespace f = format;
using bytes::Reader;

using Files = std::map<std::string, std::string_view>;

// The used part of every internal file, by name.
std::optional<Files> ReadDirectory(std::string_view bytes) {
  Reader r(bytes);
  auto magic = r.U32(0), directory = r.U32(4), total = r.U32(12);
  if (!magic || *magic != f::kFileMagic || !directory || !total || *total > bytes.size()) return std::nullopt;
  bytes = bytes.substr(0, *total);
  r = Reader(bytes);
  auto internal = [&r](uint32_t at) -> std::optional<std::string_view> {
    auto reserved = r.U32(at), used = r.U32(at + 4);
    if (!reserved || !used || uint64_t{*reserved} < uint64_t{*used} + f::kFileHeaderSize) return std::nullopt;
    return r.Slice(size_t{at} + f::kFileHeaderSize, *used);
  };
  auto tree = internal(*directory);
  if (!tree) return std::nullopt;
  Files files;
  bool ok = btree::Enumerate(*tree, [&](std::string_view record) -> std::optional<size_t> {
    Reader rr(record);
    auto name = rr.Z(0);
    if (!name) return std::nullopt;
    auto offset = rr.U32(name->size() + 1);
    if (!offset) return std::nullopt;
    auto content = internal(*offset);
    if (!content) return std::nullopt;
    files[*name] = *content;
    return name->size() + 5;
  });
  if (!ok) return std::nullopt;
  return files;
}

struct System {
  std::string title;
  uint32_t contents = f::kNone;
};

std::optional<System> ReadSystem(std::string_view data) {
  Reader r(data);
  auto magic = r.U16(0), minor = r.U16(2), major = r.U16(4), flags = r.U16(10);
  // Only the uncompressed layout of version 3.1 and later is read.
  if (!magic || *magic != f::kSystemMagic || !major || *major != f::kVersionMajor || !minor || *minor <= 16 ||
      !flags || *flags != 0)
    return std::nullopt;
  System s;
  for (size_t at = 12; at < data.size();) {
    auto type = r.U16(at), size = r.U16(at + 2);
    if (!type || !size || !r.Has(at + 4, *size)) return std::nullopt;
    if (*type == f::kSystemTitle) {
      auto title = r.Z(at + 4);
      if (!title || title->size() >= *size) return std::nullopt;
      s.title = *title;
    } else if (*type == f::kSystemContents && *size == 4) {
      s.contents = *r.U32(at + 4);
    }
    at += 4 + *size;
  }
  return s;
}

// The block data of |TOPIC as one stream, the block headers left out.
std::string TopicStream(std::string_view topic) {
  std::string stream;
  for (size_t at = 0; at < topic.size(); at += f::kTopicBlockSize) {
    if (topic.size() - at <= f::kTopicBlockHeaderSize) break;
    stream.append(topic.substr(at + f::kTopicBlockHeaderSize, f::kTopicBlockData));
  }
  return stream;
}

// Reads LinkData1 integers in their compressed forms.
class CompressedReader {
 public:
  CompressedReader(std::string_view data, size_t at) : r_(data), at_(at) {}
  size_t at() const { return at_; }
  bool ok() const { return ok_; }

  uint32_t Byte() { return Take(1, [this] { return *r_.U8(at_); }); }
  uint32_t Word() { return Take(2, [this] { return *r_.U16(at_); }); }
  uint32_t UShort() {
    uint32_t lo = Byte();
    return (lo & 1) ? lo / 2 + 128 * Byte() : lo / 2;
  }
  int Short() {
    uint32_t lo = Byte();
    if (lo & 1) return static_cast<int>(lo / 2 + 128 * Byte()) - 16384;
    return static_cast<int>(lo / 2) - 64;
  }
  int32_t Long() {
    uint32_t lo = Word();
    if (lo & 1) return static_cast<int32_t>(lo / 2 + 32768 * Word()) - 67108864;
    return static_cast<int32_t>(lo / 2) - 16384;
  }
  void Skip(size_t n) {
    if (!r_.Has(at_, n)) ok_ = false;
    else at_ += n;
  }

 private:
  template <typename F>
  uint32_t Take(size_t n, F get) {
    if (!ok_ || !r_.Has(at_, n)) {
      ok_ = false;
      return 0;
    }
    uint32_t v = get();
    at_ += n;
    return v;
  }
  Reader r_;
  size_t at_;
  bool ok_ = true;
};

// Skips the paragraph settings that follow the bits word.
void SkipParagraphSettings(CompressedReader& c, uint32_t bits) {
  if (bits & 0x0001) c.Long();
  for (uint32_t bit = 0x0002; bit <= 0x0040; bit <<= 1)
    if (bits & bit) c.Short();
  if (bits & 0x0100) c.Skip(3);
  if (bits & 0x0200) {
    int tabs = c.Short();
    for (int i = 0; i < tabs && c.ok(); ++i)
      if (c.UShort() & 0x4000) c.UShort();
  }
}

// The paragraphs of one text record. Strings of LinkData2 and formatting
// commands of LinkData1 take turns: a string, then a command.
std::optional<std::vector<Paragraph>> ReadText(std::string_view data1, std::string_view data2) {
  CompressedReader c(data1, 0);
  c.Long();    // size of the paragraph settings
  c.UShort();  // characters in LinkData2
  c.Skip(4);   // two unknown bytes and the paragraph id
  SkipParagraphSettings(c, c.Word());
  if (!c.ok()) return std::nullopt;

  std::vector<Paragraph> out;
  Paragraph current;
  Reader text(data2);
  size_t text_at = 0;
  for (;;) {
    auto piece = text.Z(text_at);
    if (!piece) return std::nullopt;
    text_at += piece->size() + 1;
    current.text += *piece;
    uint32_t command = c.Byte();
    if (!c.ok()) return std::nullopt;
    switch (command) {
      case 0xFF:
        if (!current.text.empty()) out.push_back(current);
        return out;
      case 0x80: {
        uint32_t font = c.Word();
        current.style = font == f::kFontHeading ? ParagraphStyle::kHeading : ParagraphStyle::kBody;
        break;
      }
      case 0x81: current.text += '\n'; break;
      case 0x82:
        out.push_back(current);
        current.text.clear();
        break;
      case 0x83: current.text += '\t'; break;
      case 0x8B: current.text += ' '; break;
      case 0x89: case 0x8C: break;
      case 0xE0: case 0xE1: case 0xE2: case 0xE3: case 0xE6: case 0xE7: c.Skip(4); break;
      case 0xC8: case 0xCC: case 0xEA: case 0xEB: case 0xEE: case 0xEF: c.Skip(c.Word()); break;
      default: return std::nullopt;  // pictures, fields: not in this subset
    }
    if (!c.ok()) return std::nullopt;
  }
}

struct ReadTopic {
  Topic topic;
  uint32_t offset;
};

std::optional<std::vector<ReadTopic>> ReadTopics(std::string_view topic_file) {
  const std::string stream = TopicStream(topic_file);
  Reader r(stream);
  std::vector<ReadTopic> topics;
  uint32_t pos = f::kTopicBlockHeaderSize;
  size_t block = 0;
  uint32_t chars = 0;
  for (size_t visited = 0; pos != f::kNone && pos != 0; ++visited) {
    if (visited > stream.size() / f::kTopicLinkSize) return std::nullopt;  // a loop
    if (pos < f::kTopicBlockHeaderSize) return std::nullopt;
    size_t b = (pos - f::kTopicBlockHeaderSize) >> 14, off = (pos - f::kTopicBlockHeaderSize) & 0x3FFF;
    if (off >= f::kTopicBlockData) return std::nullopt;
    size_t at = b * f::kTopicBlockData + off;
    auto size = r.U32(at), len2 = r.U32(at + 4), next = r.U32(at + 12), len1 = r.U32(at + 16), type = r.U8(at + 20);
    if (!size || !len2 || !next || !len1 || !type || *len1 < f::kTopicLinkSize || *size < *len1 ||
        *len2 != *size - *len1 || !r.Has(at, *size))
      return std::nullopt;
    std::string_view data1 = *r.Slice(at + f::kTopicLinkSize, *len1 - f::kTopicLinkSize);
    std::string_view data2 = *r.Slice(at + *len1, *len2);
    if (b != block) {
      block = b;
      chars = 0;
    }
    if (*type == f::kRecordTopicHeader) {
      ReadTopic t{Topic{}, static_cast<uint32_t>(b * 0x8000 + chars)};
      t.topic.title = std::string(data2.substr(0, data2.find('\0')));
      topics.push_back(std::move(t));
    } else if (*type == f::kRecordText) {
      if (topics.empty()) return std::nullopt;
      auto paragraphs = ReadText(data1, data2);
      if (!paragraphs) return std::nullopt;
      auto& list = topics.back().topic.paragraphs;
      list.insert(list.end(), paragraphs->begin(), paragraphs->end());
      CompressedReader c(data1, 0);
      c.Long();
      chars += c.UShort();
    } else {
      return std::nullopt;  // tables and older records are not in this subset
    }
    pos = *next;
  }
  // The closing topic header holds nothing.
  if (!topics.empty() && topics.back().topic.title.empty() && topics.back().topic.paragraphs.empty())
    topics.pop_back();
  if (topics.empty()) return std::nullopt;
  return topics;
}

// The topic that holds a topic offset: the last one starting at or before it.
std::optional<size_t> TopicAt(const std::vector<ReadTopic>& topics, uint32_t offset) {
  std::optional<size_t> found;
  for (size_t i = 0; i < topics.size(); ++i)
    if (topics[i].offset <= offset && (!found || topics[*found].offset <= topics[i].offset)) found = i;
  return found;
}

bool ReadContextNames(std::string_view tree, std::vector<ReadTopic>& topics) {
  return btree::Enumerate(tree, [&](std::string_view record) -> std::optional<size_t> {
    Reader rr(record);
    auto offset = rr.U32(0);
    auto name = rr.Z(4);
    if (!offset || !name) return std::nullopt;
    for (ReadTopic& t : topics)
      if (t.offset == *offset) t.topic.context = *name;
    return 4 + name->size() + 1;
  });
}

// Keeps only the context strings that the hash tree confirms.
bool CheckContexts(std::string_view tree, std::vector<ReadTopic>& topics) {
  std::map<uint32_t, uint32_t> by_hash;
  bool ok = btree::Enumerate(tree, [&](std::string_view record) -> std::optional<size_t> {
    Reader rr(record);
    auto hash = rr.U32(0), offset = rr.U32(4);
    if (!hash || !offset) return std::nullopt;
    by_hash[*hash] = *offset;
    return 8;
  });
  for (ReadTopic& t : topics) {
    auto it = by_hash.find(ContextHash(t.topic.context));
    if (it == by_hash.end() || TopicAt(topics, it->second) != static_cast<size_t>(&t - topics.data()))
      t.topic.context.clear();
  }
  return ok;
}

bool ReadContextNumbers(std::string_view map, std::vector<ReadTopic>& topics) {
  Reader r(map);
  auto count = r.U16(0);
  if (!count || !r.Has(2, size_t{*count} * 8)) return false;
  for (size_t i = 0; i < *count; ++i) {
    auto topic = TopicAt(topics, *r.U32(2 + i * 8 + 4));
    if (!topic) return false;
    topics[*topic].topic.context_number = *r.U32(2 + i * 8);
  }
  return true;
}

}  // namespace

std::optional<HelpFile> Read(std::string_view bytes) {
  auto files = ReadDirectory(bytes);
  if (!files || !files->count("|SYSTEM") || !files->count("|TOPIC")) return std::nullopt;
  auto system = ReadSystem(files->at("|SYSTEM"));
  if (!system) return std::nullopt;
  auto topics = ReadTopics(files->at("|TOPIC"));
  if (!topics) return std::nullopt;
  if (files->count("|TopicId") && !ReadContextNames(files->at("|TopicId"), *topics)) return std::nullopt;
  if (files->count("|CONTEXT") && !CheckContexts(files->at("|CONTEXT"), *topics)) return std::nullopt;
  if (files->count("|CTXOMAP") && !ReadContextNumbers(files->at("|CTXOMAP"), *topics)) return std::nullopt;

  HelpFile out;
  out.title = system->title;
  for (ReadTopic& t : *topics) out.topics.push_back(std::move(t.topic));
  out.contents_topic = system->contents == f::kNone ? 0 : TopicAt(*topics, system->contents).value_or(0);
  return out;
}

}  // namespace help
