#include "ui/Control.h"

#include <algorithm>

#include "platform/text.h"
#include "ui/Form.h"

namespace ui {

Control::Control(Kind kind, std::string name, Control* parent)
    : kind_(kind), name_(std::move(name)), parent_(parent) {
  if (parent_) {
    parent_->children_.push_back(this);
    font_ = parent_->font_;
  }
}

Control::~Control() = default;

Form* Control::form() {
  Control* c = this;
  while (c->parent_) c = c->parent_;
  return c->kind_ == Kind::Form ? static_cast<Form*>(c) : nullptr;
}

void Control::Notify(Change what) {
  if (peer_) peer_->Changed(what);
}

void Control::SetText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  Notify(Change::Text);
}

void Control::SetHint(const std::string& hint) {
  if (hint_ == hint) return;
  hint_ = hint;
  Notify(Change::Hint);
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Notify(Change::Enabled);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Notify(Change::Visible);
}

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
    if (c->kind_ == Kind::TabSheet && c->parent_ && c->parent_->kind_ == Kind::PageControl) {
      auto* pages = static_cast<const PageControl*>(c->parent_);
      if (pages->active_page() != c) return false;
    }
  }
  return true;
}

void Control::SetFontColor(Color color) {
  if (font_.color == color) return;
  font_.color = color;
  Notify(Change::Font);
}

void Control::SetFont(const Font& font) {
  font_ = font;
  Notify(Change::Font);
}

void Control::Click() {
  if (on_click) on_click(*this);
}

void Control::DoubleClick() {
  if (on_double_click) on_double_click(*this);
}

void Control::Repaint() {
  if (peer_) peer_->RepaintNow();
}

char AcceleratorOf(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    char c = caption[i + 1];
    if (c == '&') {
      ++i;  // "&&" is a literal ampersand
      continue;
    }
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return 0;
}

void CheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Notify(Change::Checked);
  Click();
}

void ProgressBar::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  position_ = std::clamp(position_, min_, std::max(min_, max_));
  Notify(Change::Position);
}

void ProgressBar::SetPosition(int position) {
  position = std::clamp(position, min_, std::max(min_, max_));
  if (position == position_) return;
  position_ = position;
  Notify(Change::Position);
}

void StatusBar::SetPanelText(size_t panel, const std::string& text) {
  if (panels_.at(panel).text == text) return;
  panels_[panel].text = text;
  Notify(Change::Panels);
}

size_t ListBox::Add(const std::string& item) {
  size_t at = InsertItem(item);
  Notify(Change::Items);
  return at;
}

size_t ListBox::InsertItem(const std::string& item) {
  size_t at = items_.size();
  if (sorted) {
    // After every entry that sorts before or equal, so equal entries keep
    // the order in which they came.
    auto it = std::upper_bound(items_.begin(), items_.end(), item, [](const std::string& a, const std::string& b) {
      return platform::CompareTextNoCase(a, b) < 0;
    });
    at = static_cast<size_t>(it - items_.begin());
  }
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), item);
  if (item_index_ >= static_cast<int>(at)) ++item_index_;
  return at;
}

void ListBox::Delete(size_t index) {
  EraseItem(index);
  Notify(Change::Items);
}

void ListBox::EraseItem(size_t index) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
  if (item_index_ == static_cast<int>(index))
    item_index_ = -1;
  else if (item_index_ > static_cast<int>(index))
    --item_index_;
}

void ListBox::Clear() {
  items_.clear();
  item_index_ = -1;
  Notify(Change::Items);
}

void ListBox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  if (item_index_ == index) return;
  item_index_ = index;
  Notify(Change::ItemIndex);
}

void ListBox::SelectByUser(int index) {
  int before = item_index_;
  SetItemIndex(index);
  if (item_index_ != before && item_index_ >= 0) Click();
}

size_t CheckListBox::Add(const std::string& item) {
  size_t at = InsertItem(item);
  checks_.insert(checks_.begin() + static_cast<std::ptrdiff_t>(at), false);
  Notify(Change::Items);
  return at;
}

void CheckListBox::Delete(size_t index) {
  checks_.erase(checks_.begin() + static_cast<std::ptrdiff_t>(index));
  EraseItem(index);
  Notify(Change::Items);
}

void CheckListBox::Clear() {
  checks_.clear();
  items_.clear();
  item_index_ = -1;
  Notify(Change::Items);
}

void CheckListBox::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  checks_.assign(items.size(), false);
  item_index_ = -1;
  Notify(Change::Items);
}

void CheckListBox::SetChecked(size_t index, bool checked) {
  if (checks_.at(index) == checked) return;
  checks_[index] = checked;
  Notify(Change::Checked);
}

std::vector<TabSheet*> PageControl::pages() const {
  std::vector<TabSheet*> out;
  for (Control* c : children())
    if (c->kind() == Kind::TabSheet) out.push_back(static_cast<TabSheet*>(c));
  return out;
}

TabSheet* PageControl::active_page() const {
  auto all = pages();
  return (active_ >= 0 && active_ < static_cast<int>(all.size())) ? all[static_cast<size_t>(active_)] : nullptr;
}

void PageControl::SetActiveIndex(int index) {
  auto all = pages();
  if (index < 0 || index >= static_cast<int>(all.size()) || index == active_) return;
  active_ = index;
  Notify(Change::ActivePage);
  TabSheet* page = all[static_cast<size_t>(index)];
  if (page->on_show) page->on_show(*page);
}

void PageControl::SelectNextPage(bool forward) {
  int count = static_cast<int>(pages().size());
  if (count == 0) return;
  SetActiveIndex(((active_ + (forward ? 1 : -1)) % count + count) % count);
}

}  // namespace ui
