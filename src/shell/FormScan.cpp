// Junk-file scanning on the main window: the drive and mask lists, the scan
// and the results list with deletion. The scan engine and the deletion run
// do the work; the window only moves texts and rows into its controls.
#include <charconv>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/drives.h"
#include "platform/in_use.h"
#include "platform/process.h"
#include "platform/tree_walk.h"
#include "scan/delete_run.h"
#include "scan/scan_engine.h"
#include "scan/scan_texts.h"
#include "settings/LineList.h"
#include "shell/Unit1.h"
#include "shell/UnitMainForm.h"
#include "ui/Application.h"

namespace {

void SaveMasks(const ui::CheckListBox& masks) {
  SaveLineList(platform::ProgramFolder() + "QMext.ini", masks.items());
}

// The window as the scan engine sees it. New rows are gathered and merged
// into the list in one pass whenever the window is about to be drawn, so
// filling the list stays linear in the number of rows per merge.
class WindowScanHost : public scan::ScanHost {
 public:
  explicit WindowScanHost(TSForm& form) : f_(form) {}
  ~WindowScanHost() override { Flush(); }

  int DriveCount() override { return static_cast<int>(f_.cDisks->Count()); }
  bool DriveChecked(int i) override { return Valid(*f_.cDisks, i) && f_.cDisks->Checked(static_cast<size_t>(i)); }
  std::string DriveText(int i) override { return Valid(*f_.cDisks, i) ? f_.cDisks->items()[static_cast<size_t>(i)] : ""; }
  int MaskCount() override { return static_cast<int>(f_.cExt->Count()); }
  bool MaskChecked(int i) override { return Valid(*f_.cExt, i) && f_.cExt->Checked(static_cast<size_t>(i)); }
  std::string MaskText(int i) override { return Valid(*f_.cExt, i) ? f_.cExt->items()[static_cast<size_t>(i)] : ""; }

  void SetStatus(const std::string& text) override {
    Flush();
    f_.Label9->SetText(text);
    f_.Label9->SetVisible(true);
    f_.Label9->Repaint();
  }
  void ProcessMessages() override {
    Flush();
    ui::App().ProcessMessages();
  }
  void AddRow(scan::ResultRow row) override {
    ui::ListRow item;
    item.caption = std::move(row.name);
    item.subitems = {row.folder.str(), std::to_string(row.kb)};
    item.data[0] = row.identity.device;
    item.data[1] = row.identity.inode;
    pending_.push_back(std::move(item));
  }
  size_t RowCount() override { return f_.ListFiles->RowCount() + pending_.size(); }
  void ClearRows() override {
    pending_.clear();
    f_.ListFiles->Clear();
  }
  void SetScanButtonsEnabled(bool enabled) override {
    for (ui::Button* b : {f_.bScan, f_.bSelAll, f_.bDelete, f_.bClearAll}) b->SetEnabled(enabled);
  }
  void ShowFoundCount(const std::string& text) override {
    Flush();
    f_.StatusBar1->SetPanelText(0, text);
    f_.ListFiles->SetHint(text);
    f_.StatusBar1->Repaint();
  }

 private:
  static bool Valid(const ui::ListBox& list, int i) { return i >= 0 && static_cast<size_t>(i) < list.Count(); }
  void Flush() {
    if (pending_.empty()) return;
    f_.ListFiles->InsertSortedBatch(std::move(pending_));
    pending_.clear();
    f_.ListFiles->Repaint();
  }

  TSForm& f_;
  std::vector<ui::ListRow> pending_;
};

// The results list as the deletion run sees it.
class WindowDeletionHost : public scan::DeletionHost {
 public:
  explicit WindowDeletionHost(TSForm& form) : f_(form) {}

  size_t RowCount() override { return f_.ListFiles->RowCount(); }
  bool RowChecked(size_t i) override { return f_.ListFiles->Row(i).checked; }
  const scan::ResultRow& Row(size_t i) override {
    const ui::ListRow& item = f_.ListFiles->Row(i);
    row_.name = item.caption;
    row_.folder = scan::FolderPath(item.subitems.at(0));
    // The kilobytes counted are those the size column shows.
    const std::string& size = item.subitems.at(1);
    row_.kb = 0;
    std::from_chars(size.data(), size.data() + size.size(), row_.kb);
    row_.identity = {item.data[0], item.data[1]};
    return row_;
  }
  void ShowPath(const std::string& full_path) override {
    f_.StatusBar1->SetPanelText(0, full_path);
    f_.StatusBar1->Repaint();
  }
  void Step() override {
    f_.ProgressBar2->StepIt();
    f_.ProgressBar2->Repaint();
  }
  void RemoveRows(const std::vector<size_t>& ascending) override {
    std::vector<bool> remove(f_.ListFiles->RowCount(), false);
    for (size_t i : ascending) remove.at(i) = true;
    f_.ListFiles->RemoveRows(remove);
  }

 private:
  TSForm& f_;
  scan::ResultRow row_;
};

}  // namespace

void TSForm::TabScanInit() {
  for (const std::string& drive : platform::FixedDrives()) cDisks->SetChecked(cDisks->Add(drive), true);
  for (size_t i = 0; i < cExt->Count(); ++i) cExt->SetChecked(i, true);
}

void TSForm::cExtClick(ui::Control&) {
  const int index = cExt->item_index();
  if (index >= 0) StatusBar1->SetPanelText(0, cExt->items()[static_cast<size_t>(index)]);
}

void TSForm::selectClick(ui::Control&) {
  for (size_t i = 0; i < cExt->Count(); ++i) cExt->SetChecked(i, true);
}

void TSForm::deselectClick(ui::Control&) {
  for (size_t i = 0; i < cExt->Count(); ++i) cExt->SetChecked(i, false);
}

void TSForm::AddClick(ui::Control&) {
  if (!AddExt || ui::App().backend().ShowModal(*AddExt) != ui::kModalOk) return;
  cExt->Add(AddExt->Edit1->text());
  SaveMasks(*cExt);
}

void TSForm::RemoveClick(ui::Control&) {
  const int index = cExt->item_index();
  if (index < 0) return;
  cExt->Delete(static_cast<size_t>(index));
  SaveMasks(*cExt);
}

void TSForm::bScanClick(ui::Control&) {
  WindowScanHost host(*this);
  scan::ScanClick(host);
}

void TSForm::bSelAllClick(ui::Control&) { ListFiles->SetAllChecked(true); }

void TSForm::bClearAllClick(ui::Control&) { ListFiles->SetAllChecked(false); }

void TSForm::bDeleteClick(ui::Control&) {
  Label9->SetVisible(false);
  ProgressBar2->SetRange(0, static_cast<int>(ListFiles->RowCount()));
  ProgressBar2->step = 1;
  ProgressBar2->SetPosition(0);
  ProgressBar2->SetVisible(true);

  const platform::InUseSnapshot in_use = platform::InUseSnapshot::Take();
  WindowDeletionHost host(*this);
  const int64_t kb = scan::DeleteCheckedRows(
      host, scan::ListedFileDeleter([&in_use](const platform::FileIdentity& id) { return in_use.Contains(id); }));

  UpdateDel(static_cast<int32_t>(std::min<int64_t>(kb, std::numeric_limits<int32_t>::max())));
  ProgressBar2->SetVisible(false);
  Label9->SetText(scan::texts::Deleted(kb));
  Label9->SetVisible(true);
}

void TSForm::ListFilesSelectItem(ui::ListView& sender, int row, bool) {
  const ui::ListRow& item = sender.Row(static_cast<size_t>(row));
  sender.SetHint(platform::JoinPath(item.subitems.at(0), item.caption));
}
