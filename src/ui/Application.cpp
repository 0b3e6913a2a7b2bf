#include "ui/Application.h"

#include "ui/Control.h"
#include "ui/Form.h"

namespace ui {

Application& App() {
  static Application application;
  return application;
}

void Application::Terminate() {
  terminated_ = true;
  if (backend_) backend_->Terminate();
}

std::string Application::ErrorBoxText(const std::string& message) {
  // The last character is compared with "." by its bytes; a multi-byte
  // character's bytes all lie above ".", so the last byte decides.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
    return message + ".";
  return message;
}

void Application::ShowException(const std::exception& error) {
  backend_->MessageBox(ErrorBoxText(error.what()), title, BoxIcon::Stop);
}

void Application::ContextHelp(const Control& control) {
  const Control* c = &control;
  while (c && c->help_context == 0) c = c->parent();
  if (!c) return;
  int x = 0, y = 0;
  backend_->ScreenOrigin(*c, x, y);
  uint32_t position = (static_cast<uint32_t>(x) & 0xFFFFu) | (static_cast<uint32_t>(y) << 16);
  Help(kHelpSetPopupPos, position);
  Help(kHelpContextPopup, static_cast<uint32_t>(c->help_context));
}

}  // namespace ui
