#include "ui/Form.h"

#include <algorithm>

#include "ui/Application.h"

namespace ui {

Form::Form(std::string name) : Control(Kind::Form, std::move(name), nullptr) {}

Form::~Form() = default;

Control* Form::MakePlain(Kind kind, const std::string& name, Control* parent) {
  owned_.push_back(std::make_unique<Control>(kind, name, parent ? parent : this));
  return owned_.back().get();
}

PopupMenu* Form::MakeMenu(const std::string& name) {
  menus_.push_back(std::make_unique<PopupMenu>());
  menus_.back()->name = name;
  return menus_.back().get();
}

Control* Form::Find(const std::string& name) const {
  for (const auto& c : owned_)
    if (c->name() == name) return c.get();
  return nullptr;
}

std::vector<Control*> Form::AllControls() const {
  std::vector<Control*> out;
  out.reserve(owned_.size());
  for (const auto& c : owned_) out.push_back(c.get());
  return out;
}

bool Form::HandleEnter() {
  if (focused_ && focused_->kind() == Kind::Button && focused_->Showing() && focused_->enabled()) {
    focused_->Click();
    return true;
  }
  // The default button of the visible page, or of the form when it has no
  // pages.
  for (const auto& c : owned_) {
    if (c->kind() != Kind::Button || !static_cast<Button*>(c.get())->is_default) continue;
    if (!c->Showing() || !c->enabled()) continue;
    c->Click();
    return true;
  }
  return false;
}

Control* Form::AcceleratorTarget(char letter) const {
  if (pages) {
    for (TabSheet* page : pages->pages())
      if (AcceleratorOf(page->text()) == letter) return page;
  }
  for (const auto& c : owned_) {
    if (c->kind() != Kind::Button && c->kind() != Kind::CheckBox) continue;
    if (c->Showing() && c->enabled() && AcceleratorOf(c->text()) == letter) return c.get();
  }
  return nullptr;
}

bool Form::HandleAccelerator(char letter, bool alt) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (!alt) {
    // A letter alone is an accelerator only where typing has no other use.
    if (!focused_ || (focused_->kind() != Kind::Button && focused_->kind() != Kind::CheckBox)) return false;
  }
  Control* target = AcceleratorTarget(letter);
  if (!target) return false;
  if (target->kind() == Kind::TabSheet) {
    auto all = pages->pages();
    auto it = std::find(all.begin(), all.end(), target);
    pages->SetActiveIndex(static_cast<int>(it - all.begin()));
  } else if (target->kind() == Kind::CheckBox) {
    focused_ = target;
    static_cast<CheckBox*>(target)->Toggle();
  } else {
    focused_ = target;
    target->Click();
  }
  return true;
}

bool Form::HandlePageCycle(bool forward) {
  if (!pages) return false;
  pages->SelectNextPage(forward);
  return true;
}

std::string Form::HintAt(const Control* control) {
  for (const Control* c = control; c; c = c->parent())
    if (!c->hint().empty()) return c->hint();
  return {};
}

void Form::IdleHint(const Control* under_pointer) {
  std::string hint = HintAt(under_pointer);
  if (hint == last_hint_) return;
  last_hint_ = hint;
  if (hint_bar && !hint_bar->panels().empty()) hint_bar->SetPanelText(0, hint);
}

int Form::HelpContextAt(const Control* control) {
  for (const Control* c = control; c; c = c->parent())
    if (c->help_context != 0) return c->help_context;
  return 0;
}

void Form::SetModalResult(int result) {
  modal_result_ = result;
  if (result != kModalNone) closed_ = true;
}

void Form::Close() {
  if (in_modal) {
    if (modal_result_ == kModalNone) modal_result_ = kModalCancel;
    closed_ = true;
    return;
  }
  closed_ = true;
  if (on_close) on_close(*this);
  if (App().main_form == this) App().Terminate();
}

}  // namespace ui
