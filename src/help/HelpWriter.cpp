#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

#include "help/BTree.h"
#include "help/Bytes.h"
#include "help/Format.h"
#include "help/HelpFile.h"

namespace help {
namespace {

using bytes::Put16;
using bytes::Put32;
using bytes::Put8;
namespace f = format;

// LinkData1 integers in the format's compressed forms.
void PutCompressedUShort(std::string& out, uint32_t v) {
  if (v <= 0x7F) {
    Put8(out, v * 2);
  } else {
    Put8(out, 1 + (v % 128) * 2);
    Put8(out, v / 128);
  }
}
void PutCompressedShort(std::string& out, int v) { PutCompressedUShort(out, static_cast<uint32_t>(v + (v >= -64 && v < 64 ? 64 : 16384))); }
void PutCompressedLong(std::string& out, uint32_t v) {
  // Only the two-byte form is needed: paragraph records are small.
  Put16(out, (v + 16384) * 2);
}

struct Record {
  uint8_t type;
  std::string data1, data2;
  size_t stream = 0;          // where it starts in the stream of block data
  uint32_t topic_offset = 0;  // block * 0x8000 + characters before it in the block
  size_t size() const { return f::kTopicLinkSize + data1.size() + data2.size(); }
};

Record TextRecord(const Paragraph& p) {
  const uint16_t font = p.style == ParagraphStyle::kHeading ? f::kFontHeading : f::kFontBody;
  // Each formatting command follows a NUL-terminated string of LinkData2:
  // the font first, a line break for every "\n", the end of the paragraph
  // and the end of the record.
  std::string commands, text;
  Put8(commands, 0x80);
  Put16(commands, font);
  text.push_back('\0');
  size_t start = 0;
  for (size_t nl; (nl = p.text.find('\n', start)) != std::string::npos; start = nl + 1) {
    text.append(p.text, start, nl - start).push_back('\0');
    Put8(commands, 0x81);
  }
  text.append(p.text, start).push_back('\0');
  Put8(commands, 0x82);
  text.push_back('\0');
  Put8(commands, 0xFF);
  if (text.size() > 0x7FFF) throw std::invalid_argument("paragraph too long");

  std::string info;
  Put8(info, 0x00);
  Put8(info, 0x80);
  Put16(info, 0);       // paragraph id
  Put16(info, 0x0004);  // spacing below follows
  PutCompressedShort(info, 6);
  info += commands;

  Record r{f::kRecordText, {}, std::move(text)};
  PutCompressedLong(r.data1, static_cast<uint32_t>(info.size()));
  PutCompressedUShort(r.data1, static_cast<uint32_t>(r.data2.size()));
  r.data1 += info;
  return r;
}

Record HeaderRecord(const std::string& title) {
  // The 28-byte topic header is filled in once the layout is known; the
  // title is stored without its terminating NUL.
  return Record{f::kRecordTopicHeader, std::string(f::kTopicHeaderSize, '\0'), title};
}

bool IsContextChar(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '.';
}

void Validate(const HelpFile& file) {
  if (file.topics.empty()) throw std::invalid_argument("a help file needs a topic");
  if (file.contents_topic >= file.topics.size()) throw std::invalid_argument("contents topic out of range");
  auto no_nul = [](const std::string& s) {
    if (s.find('\0') != std::string::npos) throw std::invalid_argument("NUL byte in a text");
  };
  no_nul(file.title);
  std::map<uint32_t, std::string> hashes;
  std::set<uint32_t> numbers;
  for (const Topic& t : file.topics) {
    no_nul(t.title);
    for (const Paragraph& p : t.paragraphs) no_nul(p.text);
    if (t.context.empty() || !std::all_of(t.context.begin(), t.context.end(), IsContextChar))
      throw std::invalid_argument("bad context string: " + t.context);
    if (!hashes.emplace(ContextHash(t.context), t.context).second)
      throw std::invalid_argument("context string collides with another: " + t.context);
    if (t.context_number != 0 && !numbers.insert(t.context_number).second)
      throw std::invalid_argument("context number used twice");
  }
}

// Places the records one after the other in the stream of block data and
// gives each its TOPICPOS and TOPICOFFSET.
void Layout(std::vector<Record>& records) {
  size_t stream = 0, block = 0;
  uint32_t chars = 0;
  for (Record& r : records) {
    size_t b = stream / f::kTopicBlockData;
    if (b != block) {
      block = b;
      chars = 0;
    }
    r.stream = stream;
    r.topic_offset = static_cast<uint32_t>(block * 0x8000 + chars);
    if (r.type == f::kRecordText) chars += static_cast<uint32_t>(r.data2.size());
    stream += r.size();
  }
}

// The topic headers: size, browse sequence (none), number, regions and
// the next topic header.
void FillTopicHeaders(std::vector<Record>& records) {
  uint32_t number = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].type != f::kRecordTopicHeader) continue;
    size_t next = i + 1;
    uint32_t size = 0;
    while (next < records.size() && records[next].type != f::kRecordTopicHeader) size += records[next++].size();
    std::string& h = records[i].data1;
    bytes::Patch32(h, 0, size);
    bytes::Patch32(h, 4, f::kNone);
    bytes::Patch32(h, 8, f::kNone);
    bytes::Patch32(h, 12, number++);
    bytes::Patch32(h, 16, f::kNone);
    bytes::Patch32(h, 20, i + 1 < next ? f::TopicPos(records[i + 1].stream) : f::kNone);
    bytes::Patch32(h, 24, next < records.size() ? f::TopicPos(records[next].stream) : f::kNone);
  }
}

std::string TopicFile(const std::vector<Record>& records) {
  std::string stream;
  for (size_t i = 0; i < records.size(); ++i) {
    const Record& r = records[i];
    Put32(stream, static_cast<uint32_t>(r.size()));
    Put32(stream, static_cast<uint32_t>(r.data2.size()));
    Put32(stream, i == 0 ? f::kNone : f::TopicPos(records[i - 1].stream));
    Put32(stream, i + 1 == records.size() ? f::kNone : f::TopicPos(records[i + 1].stream));
    Put32(stream, static_cast<uint32_t>(f::kTopicLinkSize + r.data1.size()));
    Put8(stream, r.type);
    stream += r.data1;
    stream += r.data2;
  }
  // Whole blocks: a reader may copy a full block's data.
  size_t blocks = (stream.size() + f::kTopicBlockData - 1) / f::kTopicBlockData;
  stream.resize(blocks * f::kTopicBlockData, '\0');

  std::string out;
  for (size_t b = 0; b < blocks; ++b) {
    const size_t begin = b * f::kTopicBlockData, end = begin + f::kTopicBlockData;
    uint32_t last_link = f::kNone, first_link = f::kNone, last_header = 0;
    for (const Record& r : records) {
      if (r.stream < begin) {
        last_link = f::TopicPos(r.stream);
        if (r.type == f::kRecordTopicHeader) last_header = f::TopicPos(r.stream);
      } else if (r.stream < end && first_link == f::kNone) {
        first_link = f::TopicPos(r.stream);
      }
    }
    Put32(out, last_link);
    Put32(out, first_link);
    Put32(out, last_header);
    out.append(stream, begin, f::kTopicBlockData);
  }
  return out;
}

std::string SystemFile(const HelpFile& file, uint32_t contents_offset) {
  std::string out;
  Put16(out, f::kSystemMagic);
  Put16(out, f::kVersionMinor31);
  Put16(out, f::kVersionMajor);
  Put32(out, 0);  // generation date: none, so that builds are reproducible
  Put16(out, 0);  // flags: uncompressed, 4 KiB topic blocks
  auto record = [&out](uint16_t type, const std::string& data) {
    Put16(out, type);
    Put16(out, static_cast<uint32_t>(data.size()));
    out += data;
  };
  record(f::kSystemTitle, file.title + '\0');
  std::string contents;
  Put32(contents, contents_offset);
  record(f::kSystemContents, contents);
  // Tells viewers outside a Chinese system which character set the text is in.
  std::string charset;
  Put16(charset, f::kCharsetGb2312);
  record(f::kSystemCharset, charset);
  return out;
}

std::string FontFile() {
  // One face, "宋体", in two sizes: 9-point body text and 12-point bold headings.
  const std::string face = "\xCB\xCE\xCC\xE5";
  constexpr size_t kFaceSize = 32;
  std::string out;
  Put16(out, 1);  // face names
  Put16(out, 2);  // descriptors
  Put16(out, 8);
  Put16(out, 8 + kFaceSize);
  std::string name = face;
  name.resize(kFaceSize, '\0');
  out += name;
  auto descriptor = [&out](uint8_t attributes, uint8_t half_points) {
    Put8(out, attributes);
    Put8(out, half_points);
    Put8(out, 0x01);  // family: modern
    Put16(out, 0);    // face index
    out.append(6, '\0');  // foreground and background colour: black
  };
  descriptor(0, 18);
  descriptor(1, 24);
  return out;
}

std::string ContextMapFile(const HelpFile& file, const std::vector<uint32_t>& offsets) {
  std::map<uint32_t, uint32_t> by_number;
  for (size_t i = 0; i < file.topics.size(); ++i)
    if (file.topics[i].context_number != 0) by_number[file.topics[i].context_number] = offsets[i];
  std::string out;
  Put16(out, static_cast<uint32_t>(by_number.size()));
  for (auto [number, offset] : by_number) {
    Put32(out, number);
    Put32(out, offset);
  }
  return out;
}

std::string ContextTree(const HelpFile& file, const std::vector<uint32_t>& offsets) {
  // Ordered by the hash taken as a signed number, as viewers search it.
  std::map<int32_t, uint32_t> by_hash;
  for (size_t i = 0; i < file.topics.size(); ++i)
    by_hash[static_cast<int32_t>(ContextHash(file.topics[i].context))] = offsets[i];
  std::vector<btree::Entry> entries;
  for (auto [hash, offset] : by_hash) {
    btree::Entry e;
    Put32(e.key, static_cast<uint32_t>(hash));
    e.leaf = e.key;
    Put32(e.leaf, offset);
    entries.push_back(std::move(e));
  }
  return btree::Build(0x0002, 0x0800, "L4", entries);
}

// A tree from topic offset to a string: the titles, and the context
// strings (from which a reader gets the names back; the format keeps only
// their hashes elsewhere).
std::string OffsetStringTree(const std::vector<uint32_t>& offsets, const std::vector<std::string>& strings) {
  std::map<uint32_t, std::string> by_offset;
  for (size_t i = 0; i < offsets.size(); ++i) by_offset.emplace(offsets[i], strings[i]);
  std::vector<btree::Entry> entries;
  for (const auto& [offset, text] : by_offset) {
    btree::Entry e;
    Put32(e.key, offset);
    e.leaf = e.key + text + '\0';
    entries.push_back(std::move(e));
  }
  return btree::Build(0x0002, 0x0800, "Lz", entries);
}

std::string FileHeader(size_t used) {
  std::string out;
  Put32(out, static_cast<uint32_t>(used + f::kFileHeaderSize));
  Put32(out, static_cast<uint32_t>(used));
  Put8(out, 4);
  return out;
}

// The internal file system: the header, every internal file, and the
// directory tree of their names last.
std::string Assemble(const std::map<std::string, std::string>& files) {
  constexpr size_t kHeaderSize = 16;
  std::string body;
  std::vector<btree::Entry> directory;
  for (const auto& [name, content] : files) {
    btree::Entry e;
    e.key = name + '\0';
    e.leaf = e.key;
    Put32(e.leaf, static_cast<uint32_t>(kHeaderSize + body.size()));
    directory.push_back(std::move(e));
    body += FileHeader(content.size()) + content;
  }
  const size_t directory_start = kHeaderSize + body.size();
  std::string tree = btree::Build(0x0402, 0x0400, "z4", directory);
  body += FileHeader(tree.size()) + tree;
  std::string out;
  Put32(out, f::kFileMagic);
  Put32(out, static_cast<uint32_t>(directory_start));
  Put32(out, f::kNone);  // no free list
  Put32(out, static_cast<uint32_t>(kHeaderSize + body.size()));
  return out + body;
}

}  // namespace

uint32_t ContextHash(std::string_view context) {
  if (context.empty()) return 1;
  uint32_t hash = 0;
  for (unsigned char c : context) {
    // Letters count without regard to case; the table the format uses
    // reduces to these values for the characters a context string may hold.
    int x = 0;
    if (c >= 'A' && c <= 'Z') x = c - 'A' + 17;
    else if (c >= 'a' && c <= 'z') x = c - 'a' + 17;
    else if (c >= '1' && c <= '9') x = c - '0';
    else if (c == '0') x = 10;
    else if (c == '.') x = 12;
    else if (c == '_') x = 13;
    hash = hash * 43 + static_cast<uint32_t>(x);
  }
  return hash;
}

const Topic* HelpFile::FindByNumber(uint32_t context_number) const {
  if (context_number == 0) return nullptr;
  for (const Topic& t : topics)
    if (t.context_number == context_number) return &t;
  return nullptr;
}

std::string Write(const HelpFile& file) {
  Validate(file);
  std::vector<Record> records;
  std::vector<size_t> header_index;
  for (const Topic& t : file.topics) {
    header_index.push_back(records.size());
    records.push_back(HeaderRecord(t.title));
    if (t.paragraphs.empty()) records.push_back(TextRecord(Paragraph{}));
    for (const Paragraph& p : t.paragraphs) records.push_back(TextRecord(p));
  }
  // A last topic header without content ends the list, as help compilers do.
  records.push_back(Record{f::kRecordTopicHeader, std::string(f::kTopicHeaderSize, '\0'), {}});
  Layout(records);
  FillTopicHeaders(records);

  std::vector<uint32_t> offsets;
  std::vector<std::string> titles, contexts;
  for (size_t i = 0; i < file.topics.size(); ++i) {
    offsets.push_back(records[header_index[i]].topic_offset);
    titles.push_back(file.topics[i].title);
    contexts.push_back(file.topics[i].context);
  }
  std::map<std::string, std::string> files;
  files["|SYSTEM"] = SystemFile(file, offsets[file.contents_topic]);
  files["|TOPIC"] = TopicFile(records);
  files["|FONT"] = FontFile();
  files["|CONTEXT"] = ContextTree(file, offsets);
  files["|CTXOMAP"] = ContextMapFile(file, offsets);
  files["|TTLBTREE"] = OffsetStringTree(offsets, titles);
  files["|TopicId"] = OffsetStringTree(offsets, contexts);
  return Assemble(files);
}

}  // namespace help
