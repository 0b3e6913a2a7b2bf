#include "shell/UnitMainForm.h"
#include "sysdir/UnitSysDir.h"

TSForm::~TSForm() = default;
void TSForm::FormCreate(ui::Control&) {}
void TSForm::FormShow(ui::Control&) {}
bool TSForm::CheckRegInit(TRegistry&) { return false; }
void TSForm::InitOptions(TRegistry&) {}
void TSForm::ReadOptions(TRegistry&) {}
void TSForm::CheckClick(ui::Control&) {}
void TSForm::UpdateDel(int32_t) {}
void TSForm::CheckBootClick(ui::Control&) {}
void TSForm::DelDir(const std::string&, const std::string&) {}
void TSForm::bCleanNowClick(ui::Control&) {}
void TSForm::ButtonBrowseClick(ui::Control&) {}
void TSForm::ButtonRemoveClick(ui::Control&) {}
void TSForm::ButtonSaveClick(ui::Control&) {}
void TSForm::ListBox1Click(ui::Control&) {}
void TSForm::TabScanInit() {}
void TSForm::cExtClick(ui::Control&) {}
void TSForm::selectClick(ui::Control&) {}
void TSForm::deselectClick(ui::Control&) {}
void TSForm::AddClick(ui::Control&) {}
void TSForm::RemoveClick(ui::Control&) {}
void TSForm::bScanClick(ui::Control&) {}
void TSForm::bSelAllClick(ui::Control&) {}
void TSForm::bClearAllClick(ui::Control&) {}
void TSForm::bDeleteClick(ui::Control&) {}
void TSForm::ListFilesSelectItem(ui::ListView&, int, bool) {}
