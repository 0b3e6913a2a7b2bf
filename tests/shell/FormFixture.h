#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/process.h"
#include "shell/UnitMainForm.h"
#include "support/Sandbox.h"
#include "ui/Application.h"
#include "ui/Headless.h"

// A main window on the headless backend with a settings store of its own.
// The list files live beside the test program; they are removed before and
// after every test.
class FormFixture : public ::testing::Test {
 protected:
  FormFixture() {
    RemoveListFiles();
    ui::App().SetBackend(&backend);
    ui::App().title = "Quillmoor";
    ui::App().help_file = "QUILLMOOR.HLP";
    ui::App().ResetTermination();
  }
  ~FormFixture() override {
    form.reset();
    ui::App().main_form = nullptr;
    RemoveListFiles();
  }

  static std::string ProgramFile(const char* name) { return platform::ProgramFolder() + name; }
  static void RemoveListFiles() {
    std::remove(ProgramFile("qm.ini").c_str());
    std::remove(ProgramFile("QMext.ini").c_str());
  }

  // Builds the window and runs its start sequence as program entry does:
  // an error that leaves it goes to the general error box.
  TSForm& Create() {
    form = std::make_unique<TSForm>();
    ui::App().main_form = form.get();
    ui::App().Dispatch([&] { form->FormCreate(*form); });
    return *form;
  }
  void Click(ui::Control& control) {
    ui::App().Dispatch([&] { control.Click(); });
  }
  std::string LastBox() const { return backend.boxes.empty() ? std::string() : backend.boxes.back().text; }

  RegistrySandbox sandbox;
  ui::HeadlessBackend backend;
  std::unique_ptr<TSForm> form;
};
