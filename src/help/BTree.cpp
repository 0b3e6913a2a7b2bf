#include "help/BTree.h"

#include <stdexcept>

#include "help/Bytes.h"

namespace help::btree {
namespace {

using bytes::Put16;
using bytes::Put32;

constexpr uint16_t kMagic = 0x293B;
constexpr size_t kHeaderSize = 38;
constexpr size_t kLeafHeaderSize = 8;
constexpr size_t kIndexHeaderSize = 6;
constexpr uint16_t kNoPage = 0xFFFF;

struct Page {
  std::string bytes;
  std::string first_key;
};

void Pad(std::string& page, uint16_t page_size) { page.resize(page_size, '\0'); }

// Leaf pages, linked both ways, filled one after the other.
std::vector<Page> LeafPages(uint16_t page_size, const std::vector<Entry>& entries) {
  std::vector<Page> pages;
  size_t i = 0;
  do {
    std::string body;
    size_t count = 0;
    std::string first_key = i < entries.size() ? entries[i].key : std::string();
    while (i < entries.size() && kLeafHeaderSize + body.size() + entries[i].leaf.size() <= page_size) {
      body += entries[i++].leaf;
      ++count;
    }
    if (count == 0 && i < entries.size()) throw std::invalid_argument("record too large for a tree page");
    uint16_t number = static_cast<uint16_t>(pages.size());
    std::string page;
    Put16(page, static_cast<uint32_t>(page_size - kLeafHeaderSize - body.size()));
    Put16(page, static_cast<uint32_t>(count));
    Put16(page, number == 0 ? kNoPage : number - 1);
    Put16(page, i < entries.size() ? number + 1 : kNoPage);
    page += body;
    Pad(page, page_size);
    pages.push_back({std::move(page), std::move(first_key)});
  } while (i < entries.size());
  return pages;
}

// One level of index pages over the pages [first, first + count).
size_t AddIndexLevel(std::vector<Page>& pages, size_t first, size_t count, uint16_t page_size) {
  size_t made = 0;
  size_t child = first;
  const size_t end = first + count;
  while (child < end) {
    std::string body;
    size_t entries = 0;
    std::string first_key = pages[child].first_key;
    uint16_t leftmost = static_cast<uint16_t>(child++);
    while (child < end && kIndexHeaderSize + body.size() + pages[child].first_key.size() + 2 <= page_size) {
      body += pages[child].first_key;
      Put16(body, static_cast<uint32_t>(child));
      ++entries;
      ++child;
    }
    std::string page;
    Put16(page, static_cast<uint32_t>(page_size - kIndexHeaderSize - body.size()));
    Put16(page, static_cast<uint32_t>(entries));
    Put16(page, leftmost);
    page += body;
    Pad(page, page_size);
    pages.push_back({std::move(page), std::move(first_key)});
    ++made;
  }
  return made;
}

}  // namespace

std::string Build(uint16_t flags, uint16_t page_size, std::string_view structure,
                  const std::vector<Entry>& entries) {
  std::vector<Page> pages = LeafPages(page_size, entries);
  size_t level_first = 0, level_count = pages.size();
  uint16_t levels = 1;
  while (level_count > 1) {
    size_t made = AddIndexLevel(pages, level_first, level_count, page_size);
    level_first += level_count;
    level_count = made;
    ++levels;
  }
  std::string out;
  Put16(out, kMagic);
  Put16(out, flags);
  Put16(out, page_size);
  std::string format(structure.substr(0, 16));
  format.resize(16, '\0');
  out += format;
  Put16(out, 0);  // must be zero
  // Every page but the first of each level came from a split.
  Put16(out, static_cast<uint32_t>(pages.size() - levels));
  Put16(out, static_cast<uint32_t>(pages.size() - 1));  // the root is written last
  Put16(out, kNoPage);
  Put16(out, static_cast<uint32_t>(pages.size()));
  Put16(out, levels);
  Put32(out, static_cast<uint32_t>(entries.size()));
  for (const Page& p : pages) out += p.bytes;
  return out;
}

bool Enumerate(std::string_view tree,
               const std::function<std::optional<size_t>(std::string_view record)>& leaf) {
  bytes::Reader r(tree);
  auto magic = r.U16(0), page_size = r.U16(4), root = r.U16(26), total = r.U16(30), levels = r.U16(32);
  if (!magic || *magic != kMagic || !page_size || *page_size < kLeafHeaderSize || !root || !total || !levels)
    return false;
  auto page_at = [&](uint32_t n) -> std::optional<std::string_view> {
    if (n >= *total) return std::nullopt;
    return r.Slice(kHeaderSize + size_t{n} * *page_size, *page_size);
  };
  // Down the leftmost edge to the first leaf page.
  uint32_t page = *root;
  for (uint32_t level = *levels; level > 1; --level) {
    auto p = page_at(page);
    if (!p) return false;
    auto left = bytes::Reader(*p).U16(4);
    if (!left) return false;
    page = *left;
  }
  // Along the leaf chain; a chain longer than the tree has pages is a loop.
  for (uint32_t visited = 0; page != kNoPage; ++visited) {
    auto p = page_at(page);
    if (!p || visited >= *total) return false;
    bytes::Reader pr(*p);
    uint32_t count = *pr.U16(2), next = *pr.U16(6);
    size_t at = kLeafHeaderSize;
    for (uint32_t i = 0; i < count; ++i) {
      auto used = leaf(p->substr(at));
      if (!used || *used == 0 || *used > p->size() - at) return false;
      at += *used;
    }
    page = next;
  }
  return true;
}

}  // namespace help::btree
