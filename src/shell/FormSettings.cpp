// The settings store on the main window: the completeness rule, the
// first-run defaults, loading the options into the check boxes, the
// write-through of each box, the cleaned-total counter and the
// start-with-logon box.
#include "platform/process.h"
#include "settings/Options.h"
#include "settings/Registry.h"
#include "shell/UnitMainForm.h"

bool TSForm::CheckRegInit(TRegistry& reg) { return ::CheckRegInit(reg); }

void TSForm::InitOptions(TRegistry& reg) { ::InitOptions(reg, platform::ProgramFolder()); }

void TSForm::ReadOptions(TRegistry& reg) {
  if (!reg.OpenKey(kSettingsKey, false)) return;
  // Checking a box runs its click handler, which stores the value again;
  // a failed read leaves the boxes read before it checked.
  const std::pair<const char*, ui::CheckBox*> options[] = {
      {kTempValue, CheckBox1},    {kRecentValue, CheckBox2},  {kCacheValue, CheckBox3},
      {kHistoryValue, CheckBox4}, {kCookiesValue, CheckBox5}, {kStCleanValue, CheckBoot},
  };
  for (const auto& [name, box] : options)
    if (reg.ReadBool(name)) box->SetChecked(true);
  StatusBar1->SetPanelText(1, FormatMegabytes(reg.ReadInteger(kCleanedValue), decimal_separator_));
  PageControl1->SetActiveIndex(0);
}

void TSForm::CheckClick(ui::Control& sender) {
  // Only the five system-folder boxes carry a Tag that names a value.
  if (!OptionNameForTag(sender.tag)) return;
  StoreFolderOption(sender.tag, static_cast<ui::CheckBox&>(sender).checked());
}

void TSForm::UpdateDel(int32_t kb) {
  std::optional<int32_t> total = AddToCounter(kb);
  if (!total) return;
  StatusBar1->SetPanelText(1, FormatMegabytes(*total, decimal_separator_));
}

void TSForm::CheckBootClick(ui::Control&) { StoreStartWithWindows(CheckBoot->checked(), platform::ProgramFile()); }
