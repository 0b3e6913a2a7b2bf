#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Form;
struct PopupMenu;

enum class Kind {
  Form,
  PageControl,
  TabSheet,
  GroupBox,
  CheckBox,
  Label,
  Button,
  ListBox,
  CheckListBox,
  ListView,
  ProgressBar,
  StatusBar,
  Image,
  Bevel,
  Panel,
  Edit,
};

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

enum class Cursor { Default, Hand };

// The few colours the window uses; ButtonFace is the system's colour of
// button faces (also the window's background).
enum class Color { WindowText, ButtonFace, Green, Maroon, Navy };

struct Font {
  std::string name = "宋体";
  int height = 12;  // pixels
  Color color = Color::WindowText;
};

// What changed on a control, so a drawing backend updates only that.
enum class Change { Text, Hint, Enabled, Visible, Font, Checked, Items, ItemIndex, Position, Panels, ActivePage };

// The drawing side of a control. The headless layer has none.
class Peer {
 public:
  virtual ~Peer() = default;
  virtual void Changed(Change what) = 0;
  // Paints the control's current state before returning, without handling
  // any other pending message.
  virtual void RepaintNow() = 0;
};

using Event = std::function<void(class Control& sender)>;

// A control is a plain object holding its state. Setting state from code
// raises the same events as the user's action does where the windowing
// library the program was designed on does so (a check box's click).
class Control {
 public:
  Control(Kind kind, std::string name, Control* parent);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Kind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  Control* parent() const { return parent_; }
  const std::vector<Control*>& children() const { return children_; }
  Form* form();

  const std::string& text() const { return text_; }
  void SetText(const std::string& text);
  const std::string& hint() const { return hint_; }
  void SetHint(const std::string& hint);
  bool enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool visible() const { return visible_; }
  void SetVisible(bool visible);
  // Visible itself and every parent up to the form; a hidden page hides
  // what it holds.
  bool Showing() const;
  const Font& font() const { return font_; }
  void SetFontColor(Color color);
  void SetFont(const Font& font);

  Rect bounds;
  int tab_order = -1;
  int help_context = 0;
  int tag = 0;
  Cursor cursor = Cursor::Default;
  bool auto_size = false;   // a label sized to its text
  bool fit_text = false;    // a fixed label that condenses its text to fit
  std::string picture;      // resource name of a picture, empty for none
  PopupMenu* popup_menu = nullptr;

  Event on_click;
  Event on_double_click;

  // Raises the click event, if one is connected.
  void Click();
  void DoubleClick();
  void Repaint();

  void SetPeer(Peer* peer) { peer_ = peer; }
  Peer* peer() const { return peer_; }

 protected:
  void Notify(Change what);

 private:
  Kind kind_;
  std::string name_;
  Control* parent_;
  std::vector<Control*> children_;
  std::string text_;
  std::string hint_;
  bool enabled_ = true;
  bool visible_ = true;
  Font font_;
  Peer* peer_ = nullptr;
};

// Finds the letter marked with "&" in a caption, upper-cased; 0 for none.
char AcceleratorOf(const std::string& caption);

class CheckBox : public Control {
 public:
  using Control::Control;
  bool checked() const { return checked_; }
  // A change raises the click event, as the user's click does.
  void SetChecked(bool checked);
  // What the user's click does.
  void Toggle() { SetChecked(!checked_); }

 private:
  bool checked_ = false;
};

class Button : public Control {
 public:
  using Control::Control;
  bool is_default = false;  // pressed by Enter on its page
};

class ProgressBar : public Control {
 public:
  using Control::Control;
  int min() const { return min_; }
  int max() const { return max_; }
  int position() const { return position_; }
  int step = 10;
  void SetRange(int min, int max);
  void SetPosition(int position);
  void StepBy(int delta) { SetPosition(position_ + delta); }
  void StepIt() { StepBy(step); }

 private:
  int min_ = 0, max_ = 100, position_ = 0;
};

struct StatusPanel {
  int width = 0;
  bool right_aligned = false;
  std::string text;
};

class StatusBar : public Control {
 public:
  using Control::Control;
  std::vector<StatusPanel>& panels() { return panels_; }
  const std::vector<StatusPanel>& panels() const { return panels_; }
  void SetPanelText(size_t panel, const std::string& text);
  const std::string& PanelText(size_t panel) const { return panels_.at(panel).text; }

 private:
  std::vector<StatusPanel> panels_;
};

// A list of texts with one selected entry (-1 for none). A sorted list keeps
// its entries in alphabetical order without regard to letter case.
class ListBox : public Control {
 public:
  using Control::Control;
  bool sorted = false;
  int item_height = 13;
  const std::vector<std::string>& items() const { return items_; }
  size_t Count() const { return items_.size(); }
  // Returns the index the entry took.
  size_t Add(const std::string& item);
  void Delete(size_t index);
  void Clear();
  int item_index() const { return item_index_; }
  // Selection by the user: raises the click event when it changes.
  void SelectByUser(int index);
  void SetItemIndex(int index);

 protected:
  // The list's change without its announcement, so a derived list can
  // bring its own state in step before the drawing side looks.
  size_t InsertItem(const std::string& item);
  void EraseItem(size_t index);
  std::vector<std::string> items_;
  int item_index_ = -1;
};

// A list with a check mark in front of every entry.
class CheckListBox : public ListBox {
 public:
  using ListBox::ListBox;
  size_t Add(const std::string& item);
  void Delete(size_t index);
  void Clear();
  void SetItems(const std::vector<std::string>& items);
  bool Checked(size_t index) const { return checks_.at(index); }
  void SetChecked(size_t index, bool checked);

 private:
  std::vector<bool> checks_;
};

class TabSheet : public Control {
 public:
  using Control::Control;
  int image_index = -1;
  Event on_show;  // the page became the visible page
};

class PageControl : public Control {
 public:
  using Control::Control;
  std::vector<TabSheet*> pages() const;
  int active_index() const { return active_; }
  TabSheet* active_page() const;
  // Makes a page the visible one and raises its show event.
  void SetActiveIndex(int index);
  // Ctrl+Tab and Ctrl+Shift+Tab: the next or previous page, wrapping.
  void SelectNextPage(bool forward);

 private:
  int active_ = 0;
};

class Edit : public Control {
 public:
  using Control::Control;
};

struct MenuItem {
  std::string name;
  std::string caption;
  int image_index = -1;
  bool is_default = false;  // shown bold
  std::function<void()> on_click;
};

// A pop-up menu that opens on a right click in the control it belongs to.
struct PopupMenu {
  std::string name;
  std::vector<MenuItem> items;
};

}  // namespace ui
