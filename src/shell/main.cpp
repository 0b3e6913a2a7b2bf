#include <QApplication>
#include <cstdlib>
#include <string>

#include "platform/process.h"
#include "shell/StartArguments.h"
#include "shell/Unit1.h"
#include "shell/UnitMainForm.h"
#include "ui/Application.h"
#include "ui/qt/QtBackend.h"

namespace {

bool HasDisplay() { return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"); }

}  // namespace

int main(int argc, char** argv) {
  platform::InitProcess(argc, argv);
  // An unattended start on a machine without any display still runs, on
  // the offscreen platform; nobody could close a box there, so errors go to
  // standard error and end the process with status 1.
  const bool unattended_headless = shell::IsAutoStart(platform::CommandLineArguments()) && !HasDisplay();
  if (unattended_headless) qputenv("QT_QPA_PLATFORM", "offscreen");

  QApplication application(argc, argv);
  Q_INIT_RESOURCE(quillmoor);
  ui_qt::QtBackend backend;
  backend.boxes_to_stderr = unattended_headless;
  ui::Application& app = ui::App();
  app.SetBackend(&backend);
  app.title = "Quillmoor";
  app.help_file = "QUILLMOOR.HLP";

  TSForm form;
  SForm = &form;
  app.main_form = &form;
  backend.Realize(form);
  app.Dispatch([&] { form.FormCreate(form); });

  TAddExt add_ext;
  form.AddExt = &add_ext;

  if (unattended_headless) return backend.error_boxes > 0 ? 1 : 0;
  if (form.window_state == ui::WindowState::Minimized) {
    if (!app.terminated()) backend.ShowMinimized(form);
  } else {
    backend.ShowMain(form);
  }
  backend.RunLoop();
  return 0;
}
