#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The B+ tree layout that the help file uses for its directory and its
// look-up tables. Only whole trees are written and read: pages are filled
// in key order and never split afterwards.
namespace help::btree {

struct Entry {
  std::string key;   // what an index page holds for the entry
  std::string leaf;  // the whole leaf record (key and value)
};

// A tree over `entries`, which must already be in key order.
std::string Build(uint16_t flags, uint16_t page_size, std::string_view structure,
                  const std::vector<Entry>& entries);

// Calls `leaf` for every leaf record in order, with the bytes from the
// record's start to the end of its page; `leaf` returns how many bytes the
// record took, or nothing when it is malformed. False when the tree is
// damaged or `leaf` failed.
bool Enumerate(std::string_view tree,
               const std::function<std::optional<size_t>(std::string_view record)>& leaf);

}  // namespace help::btree
