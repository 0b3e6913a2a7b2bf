#include "ui/ListView.h"

#include <algorithm>
#include <iterator>

#include "platform/text.h"

namespace ui {
namespace {

bool CaptionLess(const ListRow& a, const ListRow& b) { return platform::CompareLocale(a.caption, b.caption) < 0; }

}  // namespace

size_t ListView::InsertSorted(ListRow row) {
  auto it = std::upper_bound(rows_.begin(), rows_.end(), row, CaptionLess);
  size_t at = static_cast<size_t>(it - rows_.begin());
  if (list_peer_) list_peer_->BeginInsertRows(at, 1);
  rows_.insert(it, std::move(row));
  if (selected_ >= static_cast<int>(at)) ++selected_;
  if (list_peer_) list_peer_->EndInsertRows();
  return at;
}

void ListView::InsertSortedBatch(std::vector<ListRow> rows) {
  if (rows.empty()) return;
  if (rows.size() == 1) {
    InsertSorted(std::move(rows.front()));
    return;
  }
  std::stable_sort(rows.begin(), rows.end(), CaptionLess);
  if (list_peer_) list_peer_->BeginResetRows();
  std::vector<ListRow> merged;
  merged.reserve(rows_.size() + rows.size());
  // Existing rows go before new rows of an equal caption, as single
  // insertions would have placed them; the selected row is followed.
  size_t old_index = 0;
  int new_selected = -1;
  auto take_old = [&] {
    if (static_cast<int>(old_index) == selected_) new_selected = static_cast<int>(merged.size());
    merged.push_back(std::move(rows_[old_index++]));
  };
  for (ListRow& row : rows) {
    while (old_index < rows_.size() && !CaptionLess(row, rows_[old_index])) take_old();
    merged.push_back(std::move(row));
  }
  while (old_index < rows_.size()) take_old();
  rows_ = std::move(merged);
  selected_ = new_selected;
  if (list_peer_) list_peer_->EndResetRows();
}

void ListView::Clear() {
  if (list_peer_) list_peer_->BeginResetRows();
  rows_.clear();
  selected_ = -1;
  if (list_peer_) list_peer_->EndResetRows();
}

void ListView::SetChecked(size_t index, bool checked) {
  if (rows_.at(index).checked == checked) return;
  rows_[index].checked = checked;
  if (list_peer_) list_peer_->RowsUpdated(index, index);
}

void ListView::SetAllChecked(bool checked) {
  if (rows_.empty()) return;
  for (ListRow& row : rows_) row.checked = checked;
  if (list_peer_) list_peer_->RowsUpdated(0, rows_.size() - 1);
}

void ListView::RemoveRows(const std::vector<bool>& remove) {
  if (std::find(remove.begin(), remove.end(), true) == remove.end()) return;
  if (list_peer_) list_peer_->BeginResetRows();
  size_t kept = 0;
  int new_selected = -1;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (i < remove.size() && remove[i]) continue;
    if (static_cast<int>(i) == selected_) new_selected = static_cast<int>(kept);
    if (kept != i) rows_[kept] = std::move(rows_[i]);
    ++kept;
  }
  rows_.resize(kept);
  selected_ = new_selected;
  if (list_peer_) list_peer_->EndResetRows();
}

void ListView::SelectByUser(int index) {
  if (index < -1 || index >= static_cast<int>(rows_.size())) index = -1;
  if (index == selected_) return;
  int before = selected_;
  selected_ = index;
  Notify(Change::ItemIndex);
  if (!on_select_item) return;
  if (before >= 0) on_select_item(*this, before, false);
  if (index >= 0) on_select_item(*this, index, true);
}

}  // namespace ui
