#include "shell/UnitMainForm.h"

#include <stdexcept>

#include "platform/in_use.h"
#include "platform/shell_open.h"
#include "platform/text.h"
#include "shell/Layout.h"
#include "sysdir/UnitSysDir.h"
#include "ui/Application.h"

TSForm* SForm = nullptr;

const char* const TSForm::kHomePage = "https://www.quillmoor.example/";
const char* const TSForm::kContactAddress = "support@quillmoor.example";

namespace {

template <typename T>
T* Need(ui::Form& form, const char* name) {
  auto* c = form.FindAs<T>(name);
  if (!c) throw std::logic_error(std::string("layout lacks ") + name);
  return c;
}

}  // namespace

TSForm::TSForm() : ui::Form("SForm"), decimal_separator_(platform::DecimalSeparator()) {
  SetText("Quillmoor 3");
  client_width = 435;
  client_height = 275;
  shell::BuildControls(*this, shell::kMainFormLayout);

  PageControl1 = Need<ui::PageControl>(*this, "PageControl1");
  TabClean = Need<ui::TabSheet>(*this, "TabClean");
  TabScan = Need<ui::TabSheet>(*this, "TabScan");
  TabAbout = Need<ui::TabSheet>(*this, "TabAbout");
  TabExit = Need<ui::TabSheet>(*this, "TabExit");
  GroupBox1 = Need<ui::Control>(*this, "GroupBox1");
  CheckBox1 = Need<ui::CheckBox>(*this, "CheckBox1");
  CheckBox2 = Need<ui::CheckBox>(*this, "CheckBox2");
  CheckBox3 = Need<ui::CheckBox>(*this, "CheckBox3");
  CheckBox4 = Need<ui::CheckBox>(*this, "CheckBox4");
  CheckBox5 = Need<ui::CheckBox>(*this, "CheckBox5");
  CheckBoot = Need<ui::CheckBox>(*this, "CheckBoot");
  lStatus = Need<ui::Control>(*this, "lStatus");
  lprog = Need<ui::Control>(*this, "lprog");
  ProgressBar1 = Need<ui::ProgressBar>(*this, "ProgressBar1");
  bCleanNow = Need<ui::Button>(*this, "bCleanNow");
  GroupBox2 = Need<ui::Control>(*this, "GroupBox2");
  ListBox1 = Need<ui::ListBox>(*this, "ListBox1");
  ButtonBrowse = Need<ui::Button>(*this, "ButtonBrowse");
  ButtonRemove = Need<ui::Button>(*this, "ButtonRemove");
  ButtonSave = Need<ui::Button>(*this, "ButtonSave");
  Label5 = Need<ui::Control>(*this, "Label5");
  Label7 = Need<ui::Control>(*this, "Label7");
  cDisks = Need<ui::CheckListBox>(*this, "cDisks");
  cExt = Need<ui::CheckListBox>(*this, "cExt");
  bScan = Need<ui::Button>(*this, "bScan");
  bDelete = Need<ui::Button>(*this, "bDelete");
  bSelAll = Need<ui::Button>(*this, "bSelAll");
  bClearAll = Need<ui::Button>(*this, "bClearAll");
  Label9 = Need<ui::Control>(*this, "Label9");
  ProgressBar2 = Need<ui::ProgressBar>(*this, "ProgressBar2");
  ListFiles = Need<ui::ListView>(*this, "ListFiles");
  Image1 = Need<ui::Control>(*this, "Image1");
  Label1 = Need<ui::Control>(*this, "Label1");
  Label2 = Need<ui::Control>(*this, "Label2");
  Bevel1 = Need<ui::Control>(*this, "Bevel1");
  Button6 = Need<ui::Button>(*this, "Button6");
  GroupBox3 = Need<ui::Control>(*this, "GroupBox3");
  Label4 = Need<ui::Control>(*this, "Label4");
  lEmail = Need<ui::Control>(*this, "lEmail");
  Label8 = Need<ui::Control>(*this, "Label8");
  HTTP = Need<ui::Control>(*this, "HTTP");
  StatusBar1 = Need<ui::StatusBar>(*this, "StatusBar1");
  lEmail->SetText(kContactAddress);
  HTTP->SetText(kHomePage);

  image_list.assign(shell::kImageList.begin(), shell::kImageList.end());
  ListFiles->columns = shell::kResultColumns;
  StatusBar1->panels() = shell::kStatusPanels;
  ProgressBar1->SetRange(0, 100);
  ProgressBar2->SetRange(0, 100);
  cExt->SetItems({shell::kDefaultMasks.begin(), shell::kDefaultMasks.end()});

  for (const shell::MenuSpec& entry : shell::kMainFormMenus) {
    ui::PopupMenu* menu = nullptr;
    for (const auto& m : menus())
      if (m->name == entry.menu) menu = m.get();
    if (!menu) {
      menu = MakeMenu(entry.menu);
      Need<ui::Control>(*this, entry.attached_to)->popup_menu = menu;
    }
    menu->items.push_back({entry.item, entry.caption, entry.image_index, entry.is_default, {}});
  }
  PopupMenu1 = menus()[0].get();
  PopupMenu2 = menus()[1].get();
  ConnectEvents();
}

void TSForm::ConnectEvents() {
  auto bind = [this](void (TSForm::*handler)(ui::Control&)) {
    return [this, handler](ui::Control& sender) { (this->*handler)(sender); };
  };
  auto menu_item = [this](ui::PopupMenu* menu, const char* item, void (TSForm::*handler)(ui::Control&)) {
    for (ui::MenuItem& m : menu->items)
      if (m.name == item) m.on_click = [this, handler] { (this->*handler)(*this); };
  };

  on_show = bind(&TSForm::FormShow);
  TabExit->on_show = bind(&TSForm::ExitQM);
  Button6->on_click = bind(&TSForm::Button6Click);
  HTTP->on_click = bind(&TSForm::HTTPClick);
  lEmail->on_click = bind(&TSForm::SendEmail);

  for (ui::CheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5})
    box->on_click = bind(&TSForm::CheckClick);
  CheckBoot->on_click = bind(&TSForm::CheckBootClick);

  bCleanNow->on_click = bind(&TSForm::bCleanNowClick);
  ButtonBrowse->on_click = bind(&TSForm::ButtonBrowseClick);
  ButtonRemove->on_click = bind(&TSForm::ButtonRemoveClick);
  ButtonSave->on_click = bind(&TSForm::ButtonSaveClick);
  ListBox1->on_click = bind(&TSForm::ListBox1Click);
  ListBox1->on_double_click = bind(&TSForm::ButtonRemoveClick);
  menu_item(PopupMenu1, "Add1", &TSForm::ButtonBrowseClick);
  menu_item(PopupMenu1, "Remove1", &TSForm::ButtonRemoveClick);
  menu_item(PopupMenu1, "Save1", &TSForm::ButtonSaveClick);

  cExt->on_click = bind(&TSForm::cExtClick);
  menu_item(PopupMenu2, "select", &TSForm::selectClick);
  menu_item(PopupMenu2, "deselect", &TSForm::deselectClick);
  menu_item(PopupMenu2, "Add", &TSForm::AddClick);
  menu_item(PopupMenu2, "Remove", &TSForm::RemoveClick);
  bScan->on_click = bind(&TSForm::bScanClick);
  bDelete->on_click = bind(&TSForm::bDeleteClick);
  bSelAll->on_click = bind(&TSForm::bSelAllClick);
  bClearAll->on_click = bind(&TSForm::bClearAllClick);
  ListFiles->on_select_item = [this](ui::ListView& sender, int row, bool selected) {
    ListFilesSelectItem(sender, row, selected);
  };
}

void TSForm::ExitQM(ui::Control&) { Close(); }

void TSForm::Button6Click(ui::Control&) { ui::App().Help(ui::kHelpFinder, 0); }

void TSForm::HTTPClick(ui::Control&) { platform::ShellOpen(kHomePage); }

void TSForm::SendEmail(ui::Control&) { platform::ShellOpen(std::string("mailto:") + kContactAddress); }
