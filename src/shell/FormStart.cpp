// The start sequence that runs while the main window is being created, and
// the window's first showing.
#include "platform/files.h"
#include "platform/in_use.h"
#include "platform/process.h"
#include "settings/LineList.h"
#include "settings/Registry.h"
#include "shell/StartArguments.h"
#include "shell/UnitMainForm.h"
#include "sysdir/UnitSysDir.h"
#include "ui/Application.h"

TSForm::~TSForm() = default;

void TSForm::FormCreate(ui::Control&) {
  {
    // One accessor for the three settings steps; it is closed and freed as
    // this block is left, also when a step fails.
    TRegistry reg(platform::RootKey::LocalMachine);
    if (!CheckRegInit(reg)) InitOptions(reg);
    ReadOptions(reg);
  }

  SysDir = std::make_unique<TSysDir>(platform::ProgramFolder(), [] {
    ui::App().backend().MessageBox(kSysDirErrorText, kSysDirErrorCaption, ui::BoxIcon::Error);
  });
  for (const std::string& folder : SysDir->UserDirs) ListBox1->Add(folder);

  const std::string mask_file = platform::ProgramFolder() + "QMext.ini";
  if (platform::FileExists(mask_file)) cExt->SetItems(LoadLineList(mask_file));

  if (shell::IsAutoStart(platform::CommandLineArguments())) {
    window_state = ui::WindowState::Minimized;
    bCleanNowClick(*this);
    ui::App().Terminate();
  } else {
    window_state = ui::WindowState::Normal;
  }
}

void TSForm::FormShow(ui::Control&) { TabScanInit(); }
