#include "ui/Headless.h"

#include "ui/Control.h"
#include "ui/Form.h"

namespace ui {

void HeadlessBackend::ProcessMessages() {
  ++process_messages_calls;
  if (on_process_messages) on_process_messages();
}

void HeadlessBackend::MessageBox(const std::string& text, const std::string& caption, BoxIcon icon) {
  boxes.push_back({text, caption, icon});
  if (on_box) on_box(boxes.back());
}

int HeadlessBackend::ShowModal(Form& form) {
  form.SetModalResult(kModalNone);
  form.Reopen();
  form.in_modal = true;
  if (on_modal) on_modal(form);
  if (form.modal_result() == kModalNone) form.SetModalResult(kModalCancel);
  form.in_modal = false;
  return form.modal_result();
}

std::optional<std::string> HeadlessBackend::BrowseForFolder(const std::string&) {
  if (folder_answers.empty()) return std::nullopt;
  auto answer = folder_answers.front();
  folder_answers.pop_front();
  return answer;
}

void HeadlessBackend::Help(const std::string& help_file, unsigned command, uint32_t data) {
  help_calls.push_back({help_file, command, data});
}

void HeadlessBackend::ScreenOrigin(const Control& control, int& x, int& y) {
  // Without a screen, the form's client origin is taken as (0, 0).
  x = 0;
  y = 0;
  for (const Control* c = &control; c && c->kind() != Kind::Form; c = c->parent()) {
    x += c->bounds.left;
    y += c->bounds.top;
  }
}

}  // namespace ui
