#pragma once
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/Application.h"
#include "ui/Form.h"

class QDialog;
class QTimer;

namespace ui_qt {

class WidgetPeer;

// Draws the control layer with Qt Widgets: one widget per control, built
// from the control's state, kept in step through its peer, and the user's
// actions turned into the control's events.
class QtBackend : public QObject, public ui::Backend {
  Q_OBJECT
 public:
  QtBackend();
  ~QtBackend() override;

  // Builds the widgets of a form (once) and gives its top-level widget.
  QWidget* Realize(ui::Form& form);
  // Shows the main window centred on the desktop, runs its show event
  // before any message is handled.
  void ShowMain(ui::Form& form);
  // Shows the application minimised; the window's show event runs when the
  // user first restores it.
  void ShowMinimized(ui::Form& form);
  int RunLoop();

  // Without a display nobody can close a box: boxes go to standard error
  // and are counted instead of shown.
  bool boxes_to_stderr = false;
  // Called once a modal form is on screen, inside its modal loop: lets a
  // test or the screenshot tool act as the user.
  std::function<void(QWidget*)> on_modal_shown_for_tests;
  int error_boxes = 0;

  // ui::Backend
  void ProcessMessages() override;
  void MessageBox(const std::string& text, const std::string& caption, ui::BoxIcon icon) override;
  int ShowModal(ui::Form& form) override;
  std::optional<std::string> BrowseForFolder(const std::string& title) override;
  void Help(const std::string& help_file, unsigned command, uint32_t data) override;
  void ScreenOrigin(const ui::Control& control, int& x, int& y) override;
  void Minimize() override;
  void Terminate() override;

  // Runs a handler for a user action: errors go to the general error box,
  // and a modal form that the handler closed ends its showing.
  template <typename F>
  void Dispatch(F&& handler) {
    ui::App().Dispatch(std::forward<F>(handler));
    AfterEvent();
  }

  QWidget* WidgetOf(const ui::Control* control) const;
  ui::Control* ControlOf(QWidget* widget) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Window {
    ui::Form* form = nullptr;
    QWidget* top = nullptr;
    std::map<const ui::Control*, QWidget*> widgets;
    std::vector<std::unique_ptr<WidgetPeer>> peers;
    bool shown_once = false;
  };

  Window& Build(ui::Form& form, bool as_dialog);
  QWidget* BuildControl(Window& window, ui::Control& control, QWidget* parent);
  void BuildTabOrder(Window& window);
  void AfterEvent();
  void UpdateHintUnderPointer();
  Window* WindowOf(QWidget* widget);
  void CentreOnScreen(QWidget* top);
  bool HandleKey(Window& window, class QKeyEvent* key);
  void ShowPopup(ui::PopupMenu& menu, ui::Form& form, const QPoint& global);

  std::vector<std::unique_ptr<Window>> windows_;
  std::vector<QDialog*> modal_stack_;
  QTimer* hint_timer_ = nullptr;
  const QEvent* last_key_ = nullptr;
  QPointer<QWidget> last_key_widget_;
  friend class WidgetPeer;
};

// Exposed for the window's tests: the backend object of this process.
QtBackend& Backend();

// The font the layout names, falling back to an installed CJK font.
QFont LayoutFont(const ui::Font& font);

}  // namespace ui_qt
