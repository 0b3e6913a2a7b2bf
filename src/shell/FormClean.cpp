// Folder cleaning on the main window: one folder-emptying pass, the clean
// run over every selected folder, and the user folder list's commands.
#include <string>
#include <vector>

#include "clean/FolderEmptier.h"
#include "platform/files.h"
#include "platform/in_use.h"
#include "platform/process.h"
#include "settings/LineList.h"
#include "shell/UnitMainForm.h"
#include "sysdir/UnitSysDir.h"
#include "ui/Application.h"

namespace {

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace

std::vector<std::pair<ui::CheckBox*, std::string>> TSForm::SystemFolders() const {
  // Without a locator (the start sequence failed before creating it) the
  // five paths count as empty.
  auto path = [this](std::string TSysDir::*field) { return SysDir ? (*SysDir).*field : std::string(); };
  return {{CheckBox1, path(&TSysDir::TempDir)},
          {CheckBox2, path(&TSysDir::RecentDir)},
          {CheckBox3, path(&TSysDir::CacheDir)},
          {CheckBox4, path(&TSysDir::HistoryDir)},
          {CheckBox5, path(&TSysDir::CookiesDir)}};
}

void TSForm::DelDir(const std::string& folder, const std::string& sub_folder) {
  const std::string path = sub_folder.empty() ? folder : folder + platform::PathSeparator() + sub_folder;
  if (!in_use_) in_use_ = std::make_unique<platform::InUseSnapshot>(platform::InUseSnapshot::Take());
  clean::EmptyFolder(path, DelKB, *in_use_, [this](const std::string& name) {
    lprog->SetText(name);
    lprog->Repaint();
  });
}

void TSForm::bCleanNowClick(ui::Control&) {
  bCleanNow->SetEnabled(false);
  lprog->SetFontColor(ui::Color::ButtonFace);
  // The closing steps run however the run ends.
  struct Closing {
    TSForm& form;
    ~Closing() {
      form.DelKB = 0;
      form.in_use_.reset();
      form.ProgressBar1->SetPosition(0);
      form.bCleanNow->SetEnabled(true);
    }
  } closing{*this};

  if (SysDir) SysDir->RefreshFolders();
  std::vector<std::string> run;
  for (const auto& [box, path] : SystemFolders())
    if (box->checked()) run.push_back(path);
  const size_t user_folders = ListBox1->Count();
  for (size_t i = 0; i < user_folders; ++i) run.push_back(ListBox1->items()[i]);

  if (!run.empty()) {
    // One look at the files other programs hold open, for the whole run.
    in_use_ = std::make_unique<platform::InUseSnapshot>(platform::InUseSnapshot::Take());
    const int step = 100 / static_cast<int>(run.size());
    for (const std::string& path : run) {
      lprog->SetText(path);
      lprog->Repaint();
      ProgressBar1->StepBy(step);
      DelDir(path, "");
    }
  }

  if (DelKB != 0) {
    lprog->SetText(std::to_string(DelKB) + "KB 被清理 ");
    lprog->SetFontColor(ui::Color::Green);
    UpdateDel(DelKB);
  } else {
    lprog->SetText("没有要清理的内容");
    lprog->SetFontColor(ui::Color::Maroon);
  }
  lprog->Repaint();
}

void TSForm::ButtonBrowseClick(ui::Control&) {
  std::optional<std::string> folder = ui::App().backend().BrowseForFolder("选择要添加的目录");
  if (folder) ListBox1->Add(*folder);
}

void TSForm::ButtonRemoveClick(ui::Control&) {
  const int index = ListBox1->item_index();
  if (ListBox1->Count() == 0 || index < 0) return;
  const std::string selected = UpperAscii(ListBox1->items()[static_cast<size_t>(index)]);
  if (SysDir) SysDir->RefreshFolders();
  // Every path is compared; the last one that matches decides.
  ui::CheckBox* match = nullptr;
  for (const auto& [box, path] : SystemFolders())
    if (UpperAscii(path) == selected) match = box;
  if (match)
    match->SetChecked(false);
  else
    ListBox1->Delete(static_cast<size_t>(index));
}

void TSForm::ButtonSaveClick(ui::Control&) {
  const std::string file = platform::ProgramFolder() + "qm.ini";
  if (ListBox1->Count() > 0)
    SaveLineList(file, ListBox1->items());
  else
    platform::RemoveFile(file);
}

void TSForm::ListBox1Click(ui::Control&) {
  const int index = ListBox1->item_index();
  if (index >= 0) ListBox1->SetHint(ListBox1->items()[static_cast<size_t>(index)]);
}
