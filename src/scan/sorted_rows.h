#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "scan/result_row.h"

namespace scan {

// Result rows kept in name order (the user's locale-aware, case-sensitive
// comparison; a row joins after the rows of equal name), for a virtual
// list view. Rows stay where they were stored; the order is a list of row
// numbers cut into short blocks, so an insertion moves a few kilobytes at
// most and reading row i is a binary search over the blocks. Inserting n
// rows costs about n·(log n + √n) small steps instead of n² row moves.
class SortedRows {
 public:
  // Puts the row in its place and returns its index.
  size_t Insert(ResultRow row);
  size_t size() const { return rows_.size(); }
  bool empty() const { return size() == 0; }
  const ResultRow& operator[](size_t index) const;
  ResultRow& operator[](size_t index);
  void Clear();
  // Removes the rows at these indices, given in ascending order, in one
  // linear pass; the others keep their order.
  void Remove(const std::vector<size_t>& ascending_indices);

 private:
  std::pair<size_t, size_t> Locate(size_t index) const;  // block, offset in block

  std::deque<ResultRow> rows_;  // never moves a stored row
  std::vector<std::vector<uint32_t>> blocks_;
  std::vector<size_t> block_starts_;  // index of each block's first row
};

}  // namespace scan
