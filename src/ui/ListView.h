#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

// One row of a report-style list: its caption, the texts of the further
// columns, a check mark, and two numbers the program keeps with the row
// (never shown).
struct ListRow {
  std::string caption;
  std::vector<std::string> subitems;
  bool checked = false;
  uint64_t data[2] = {0, 0};
};

struct ListColumn {
  std::string header;
  int width = 0;
  bool right_aligned = false;
};

// What a drawing backend needs to keep a virtual view in step with the
// rows: only the range that changed is announced.
// Each Begin is called before the rows change and its End after.
class ListViewPeer : public Peer {
 public:
  virtual void BeginInsertRows(size_t first, size_t count) = 0;
  virtual void EndInsertRows() = 0;
  virtual void BeginResetRows() = 0;
  virtual void EndResetRows() = 0;
  virtual void RowsUpdated(size_t first, size_t last) = 0;
};

// A report-style list with a check box on every row, kept sorted by caption
// with the locale-aware, case-sensitive comparison. The rows live here; the
// view only draws the ones on screen, so 10^5 rows cost nothing to show.
class ListView : public Control {
 public:
  using Control::Control;
  std::vector<ListColumn> columns;

  size_t RowCount() const { return rows_.size(); }
  const ListRow& Row(size_t index) const { return rows_.at(index); }
  const std::vector<ListRow>& rows() const { return rows_; }

  // Inserts a row at its place in caption order (after rows of an equal
  // caption) by binary search; returns its index.
  size_t InsertSorted(ListRow row);
  // Inserts many rows at once, each at its place in caption order: the new
  // rows are sorted and merged in one pass, so filling the list costs
  // O(n log n) in all rather than O(n) per row.
  void InsertSortedBatch(std::vector<ListRow> rows);
  void Clear();
  void SetChecked(size_t index, bool checked);
  void SetAllChecked(bool checked);
  // Removes the rows whose flag is set, keeping the others in order, in one
  // pass. `remove` has one flag per row.
  void RemoveRows(const std::vector<bool>& remove);

  int selected() const { return selected_; }
  // Selection by the user (a click, or the pointer resting on a row): the
  // row that loses the selection is announced first, then the new one.
  void SelectByUser(int index);

  std::function<void(ListView& sender, int row, bool selected)> on_select_item;

  void SetListPeer(ListViewPeer* peer) {
    list_peer_ = peer;
    SetPeer(peer);
  }

 private:
  std::vector<ListRow> rows_;
  int selected_ = -1;
  ListViewPeer* list_peer_ = nullptr;
};

}  // namespace ui
