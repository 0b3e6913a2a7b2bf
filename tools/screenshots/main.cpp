// Renders the first three pages of the main window and the file-type input
// dialog to PNG files, on whatever Qt platform is in use (offscreen works).
// Usage: quillmoor-screenshots OUTPUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <iostream>

#include "platform/process.h"
#include "shell/Unit1.h"
#include "shell/UnitMainForm.h"
#include "ui/Application.h"
#include "ui/qt/QtBackend.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: quillmoor-screenshots OUTPUT_FOLDER\n";
    return 2;
  }
  platform::InitProcess(1, argv);
  QApplication application(argc, argv);
  ui_qt::QtBackend backend;
  ui::App().SetBackend(&backend);
  ui::App().title = "Quillmoor";
  QDir().mkpath(argv[1]);

  TSForm form;
  ui::App().main_form = &form;
  QWidget* top = backend.Realize(form);
  ui::App().Dispatch([&] { form.FormCreate(form); });
  backend.ShowMain(form);
  application.processEvents();

  const char* names[] = {"clean", "scan", "about"};
  for (int page = 0; page < 3; ++page) {
    form.PageControl1->SetActiveIndex(page);
    application.processEvents();
    QString file = QString("%1/page-%2.png").arg(argv[1]).arg(names[page]);
    top->grab().save(file);
    std::cout << file.toStdString() << "\n";
  }

  TAddExt dialog;
  dialog.Edit1->SetText("*.PIF");
  backend.on_modal_shown_for_tests = [&](QWidget* shown) {
    QString file = QString("%1/addext.png").arg(argv[1]);
    shown->grab().save(file);
    std::cout << file.toStdString() << "\n";
    dialog.SetModalResult(ui::kModalCancel);
  };
  backend.ShowModal(dialog);
  return 0;
}
