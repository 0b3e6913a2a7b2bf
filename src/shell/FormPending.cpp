#include "shell/UnitMainForm.h"
#include "sysdir/UnitSysDir.h"

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
