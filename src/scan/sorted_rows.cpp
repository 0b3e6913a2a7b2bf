#include "scan/sorted_rows.h"

#include <algorithm>
#include <utility>

#include "platform/text.h"

namespace scan {
namespace {

// Blocks split in two when they grow past this many rows.
constexpr size_t kMaxBlock = 1024;

}  // namespace

size_t SortedRows::Insert(ResultRow row) {
  auto less = [this](const std::string& name, uint32_t stored) {
    return platform::CompareLocale(name, rows_[stored].name) < 0;
  };
  // The first block whose last row sorts after the new name takes it;
  // when there is none, the last block does.
  size_t block = 0;
  if (!blocks_.empty()) {
    auto it = std::partition_point(blocks_.begin(), blocks_.end(), [&](const std::vector<uint32_t>& b) {
      return !less(row.name, b.back());
    });
    block = it == blocks_.end() ? blocks_.size() - 1 : static_cast<size_t>(it - blocks_.begin());
  } else {
    blocks_.emplace_back();
    block_starts_.push_back(0);
  }
  std::vector<uint32_t>& b = blocks_[block];
  auto at = std::upper_bound(b.begin(), b.end(), row.name, less);
  size_t offset = static_cast<size_t>(at - b.begin());
  auto number = static_cast<uint32_t>(rows_.size());
  rows_.push_back(std::move(row));
  b.insert(at, number);
  for (size_t k = block + 1; k < block_starts_.size(); ++k) ++block_starts_[k];

  size_t index = block_starts_[block] + offset;
  if (b.size() > kMaxBlock) {
    std::vector<uint32_t> upper(b.begin() + b.size() / 2, b.end());
    b.resize(b.size() / 2);
    b.shrink_to_fit();
    size_t upper_start = block_starts_[block] + b.size();
    blocks_.insert(blocks_.begin() + block + 1, std::move(upper));
    block_starts_.insert(block_starts_.begin() + block + 1, upper_start);
  }
  return index;
}

std::pair<size_t, size_t> SortedRows::Locate(size_t index) const {
  auto it = std::upper_bound(block_starts_.begin(), block_starts_.end(), index);
  size_t block = static_cast<size_t>(it - block_starts_.begin()) - 1;
  return {block, index - block_starts_[block]};
}

const ResultRow& SortedRows::operator[](size_t index) const {
  auto [block, offset] = Locate(index);
  return rows_[blocks_[block][offset]];
}

ResultRow& SortedRows::operator[](size_t index) {
  auto [block, offset] = Locate(index);
  return rows_[blocks_[block][offset]];
}

void SortedRows::Clear() {
  rows_.clear();
  blocks_.clear();
  block_starts_.clear();
}

void SortedRows::Remove(const std::vector<size_t>& ascending_indices) {
  if (ascending_indices.empty()) return;
  // Rebuild in order without the removed rows: storage and blocks alike.
  std::deque<ResultRow> kept;
  std::vector<std::vector<uint32_t>> blocks;
  std::vector<size_t> starts;
  size_t next_removed = 0, index = 0;
  for (const std::vector<uint32_t>& b : blocks_) {
    for (uint32_t number : b) {
      if (next_removed < ascending_indices.size() && ascending_indices[next_removed] == index) {
        ++index;
        while (next_removed < ascending_indices.size() && ascending_indices[next_removed] < index) ++next_removed;
        continue;
      }
      ++index;
      if (blocks.empty() || blocks.back().size() >= kMaxBlock / 2) {
        starts.push_back(kept.size());
        blocks.emplace_back();
        blocks.back().reserve(kMaxBlock / 2);
      }
      blocks.back().push_back(static_cast<uint32_t>(kept.size()));
      kept.push_back(std::move(rows_[number]));
    }
  }
  rows_ = std::move(kept);
  blocks_ = std::move(blocks);
  block_starts_ = std::move(starts);
}

}  // namespace scan
