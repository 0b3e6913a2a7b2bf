#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Application.h"

namespace ui {

// A backend without a display: message boxes, help calls and modal
// showings are recorded, and a test decides what the user answers. Runs
// form logic in tests and in the unattended start on a machine without a
// display.
class HeadlessBackend : public Backend {
 public:
  struct Box {
    std::string text, caption;
    BoxIcon icon;
  };
  struct HelpCall {
    std::string file;
    unsigned command;
    uint32_t data;
  };

  std::vector<Box> boxes;
  std::vector<HelpCall> help_calls;
  std::deque<std::optional<std::string>> folder_answers;  // next BrowseForFolder answers
  // Runs where pending messages would be handled: a test's stand-in for
  // the user acting while a long operation lets messages through.
  std::function<void()> on_process_messages;
  // Plays the user's part in a modal form; without it the form ends with
  // its modal result as it stands (2 when none is set).
  std::function<void(Form&)> on_modal;
  // Called for every message box (after it is recorded).
  std::function<void(const Box&)> on_box;
  int process_messages_calls = 0;
  bool minimized = false;
  bool terminate_posted = false;

  void ProcessMessages() override;
  void MessageBox(const std::string& text, const std::string& caption, BoxIcon icon) override;
  int ShowModal(Form& form) override;
  std::optional<std::string> BrowseForFolder(const std::string& title) override;
  void Help(const std::string& help_file, unsigned command, uint32_t data) override;
  void ScreenOrigin(const Control& control, int& x, int& y) override;
  void Minimize() override { minimized = true; }
  void Terminate() override { terminate_posted = true; }
};

}  // namespace ui
