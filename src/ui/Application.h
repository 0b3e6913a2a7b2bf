#pragma once
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

namespace ui {

class Control;
class Form;

// WinHelp command numbers, which the help backends take as they are.
constexpr unsigned kHelpContextPopup = 8;
constexpr unsigned kHelpFinder = 11;
constexpr unsigned kHelpSetPopupPos = 13;

enum class BoxIcon { Stop, Error, Information };

// What a drawing system provides to the application object. The Qt backend
// is one; the headless backend used by tests is another.
class Backend {
 public:
  virtual ~Backend() = default;
  // Handles every pending window message, then returns.
  virtual void ProcessMessages() = 0;
  // A modal message box with one OK button ("确定").
  virtual void MessageBox(const std::string& text, const std::string& caption, BoxIcon icon) = 0;
  // Shows a form modally and returns its modal result.
  virtual int ShowModal(Form& form) = 0;
  // The desktop's folder chooser; nothing when the user cancels.
  virtual std::optional<std::string> BrowseForFolder(const std::string& title) = 0;
  // A help viewer command, as WinHelp takes it.
  virtual void Help(const std::string& help_file, unsigned command, uint32_t data) = 0;
  // The screen position of the top-left corner of a control's client area.
  virtual void ScreenOrigin(const Control& control, int& x, int& y) = 0;
  // Shows the application minimised on the task bar, the main window not
  // shown.
  virtual void Minimize() = 0;
  // Posts a termination request: the message loop ends when it reads it.
  virtual void Terminate() = 0;
};

// The one application object.
class Application {
 public:
  std::string title;
  std::string help_file;  // a bare file name, located by the help backend
  Form* main_form = nullptr;

  void SetBackend(Backend* backend) { backend_ = backend; }
  Backend& backend() const { return *backend_; }

  void ProcessMessages() { backend_->ProcessMessages(); }
  void Minimize() { backend_->Minimize(); }
  void Terminate();
  bool terminated() const { return terminated_; }
  void ResetTermination() { terminated_ = false; }

  // The general error box: caption the title, stop icon, OK, and the
  // message with "." added when its last character sorts after ".".
  void ShowException(const std::exception& error);
  static std::string ErrorBoxText(const std::string& message);

  // Runs an event handler; an error that leaves it is shown in the general
  // error box and the program goes on.
  template <typename F>
  void Dispatch(F&& handler) {
    try {
      handler();
    } catch (const std::exception& error) {
      ShowException(error);
    }
  }

  void Help(unsigned command, uint32_t data) { backend_->Help(help_file, command, data); }
  // A help request on a control: the first help context up from it pops up
  // at the top-left corner of that control's client area.
  void ContextHelp(const Control& control);

 private:
  Backend* backend_ = nullptr;
  bool terminated_ = false;
};

Application& App();

}  // namespace ui
