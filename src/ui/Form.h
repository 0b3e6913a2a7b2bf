#pragma once
#include <memory>
#include <type_traits>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/ListView.h"

namespace ui {

enum class WindowState { Normal, Minimized, Maximized };

// Modal results.
constexpr int kModalNone = 0;
constexpr int kModalOk = 1;
constexpr int kModalCancel = 2;

// A window: owns its controls and pop-up menus, tracks the focus, and holds
// the keyboard rules (Enter, accelerators, page cycling) and the hint rule,
// so they work the same drawn or headless.
class Form : public Control {
 public:
  explicit Form(std::string name);
  ~Form() override;

  // Creates a control of type T as a child of `parent` (the form itself when
  // null); the form owns it.
  template <typename T>
  T* Make(const std::string& name, Control* parent) {
    auto control = std::make_unique<T>(KindOf<T>(), name, parent ? parent : this);
    T* raw = control.get();
    owned_.push_back(std::move(control));
    return raw;
  }
  // Labels, group boxes, pictures, bevels and panels hold no state beyond
  // the base's; they are made with the kind named.
  Control* MakePlain(Kind kind, const std::string& name, Control* parent);
  PopupMenu* MakeMenu(const std::string& name);
  const std::vector<std::unique_ptr<PopupMenu>>& menus() const { return menus_; }

  Control* Find(const std::string& name) const;
  template <typename T>
  T* FindAs(const std::string& name) const {
    return static_cast<T*>(Find(name));
  }
  // Every control in creation order.
  std::vector<Control*> AllControls() const;

  // Window properties.
  int client_width = 0, client_height = 0;
  bool bordered = true;  // false: no border, no title bar
  WindowState window_state = WindowState::Normal;
  StatusBar* hint_bar = nullptr;     // panel 0 shows hints
  PageControl* pages = nullptr;      // the form's page control, if any
  // Pictures of the form's image list (resource names), for page tabs and
  // menu items.
  std::vector<std::string> image_list;

  Event on_show;
  Event on_close;

  // Focus.
  Control* focused() const { return focused_; }
  void SetFocus(Control* control) { focused_ = control; }

  // Keyboard rules. Each returns whether the key was used.
  // Enter: the focused push button, else the visible page's (or the form's)
  // enabled default button.
  bool HandleEnter();
  // The letter marked "&" in a caption, with Alt, or alone while the focus
  // is on a button or check box.
  bool HandleAccelerator(char letter, bool alt);
  // Ctrl+Tab / Ctrl+Shift+Tab.
  bool HandlePageCycle(bool forward);

  // The hint rule: the control's own hint or the nearest enclosing one;
  // written into panel 0 only when it differs from the last one found.
  static std::string HintAt(const Control* control);
  void IdleHint(const Control* under_pointer);

  // The first help context up from the control, 0 for none.
  static int HelpContextAt(const Control* control);

  // Modal use.
  int modal_result() const { return modal_result_; }
  void SetModalResult(int result);
  bool in_modal = false;

  // Closes the window: a modal one ends with its result (2 when none was
  // set); the main window ends the application.
  void Close();
  bool closed() const { return closed_; }
  void Reopen() { closed_ = false; }

 private:
  template <typename T>
  static Kind KindOf();
  Control* AcceleratorTarget(char letter) const;

  std::vector<std::unique_ptr<Control>> owned_;
  std::vector<std::unique_ptr<PopupMenu>> menus_;
  Control* focused_ = nullptr;
  std::string last_hint_;
  int modal_result_ = kModalNone;
  bool closed_ = false;
};

template <typename T>
Kind Form::KindOf() {
  if constexpr (std::is_same_v<T, CheckBox>) return Kind::CheckBox;
  else if constexpr (std::is_same_v<T, Button>) return Kind::Button;
  else if constexpr (std::is_same_v<T, ProgressBar>) return Kind::ProgressBar;
  else if constexpr (std::is_same_v<T, StatusBar>) return Kind::StatusBar;
  else if constexpr (std::is_same_v<T, CheckListBox>) return Kind::CheckListBox;
  else if constexpr (std::is_same_v<T, ListBox>) return Kind::ListBox;
  else if constexpr (std::is_same_v<T, ListView>) return Kind::ListView;
  else if constexpr (std::is_same_v<T, TabSheet>) return Kind::TabSheet;
  else if constexpr (std::is_same_v<T, PageControl>) return Kind::PageControl;
  else if constexpr (std::is_same_v<T, Edit>) return Kind::Edit;
  else static_assert(sizeof(T) == 0, "use MakePlain for controls without state of their own");
  return Kind::Label;
}

}  // namespace ui
