#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/ListView.h"

class TRegistry;
class TSysDir;
class TAddExt;
namespace platform {
class InUseSnapshot;
}

// The main window: every control of the four pages, the status bar and the
// two pop-up menus, the system folder locator, and the handlers. Handlers
// are thin: they call into the subsystems and write results into controls.
class TSForm : public ui::Form {
 public:
  TSForm();
  ~TSForm() override;

  // The start sequence, run once while the window is being created.
  void FormCreate(ui::Control& sender);
  void FormShow(ui::Control& sender);

  // Program lifecycle and the About page.
  void ExitQM(ui::Control& sender);
  void Button6Click(ui::Control& sender);
  void HTTPClick(ui::Control& sender);
  void SendEmail(ui::Control& sender);

  // Settings store.
  bool CheckRegInit(TRegistry& reg);
  void InitOptions(TRegistry& reg);
  void ReadOptions(TRegistry& reg);
  void CheckClick(ui::Control& sender);
  void UpdateDel(int32_t kb);
  void CheckBootClick(ui::Control& sender);

  // Folder cleaning.
  void DelDir(const std::string& folder, const std::string& sub_folder);
  void bCleanNowClick(ui::Control& sender);
  void ButtonBrowseClick(ui::Control& sender);
  void ButtonRemoveClick(ui::Control& sender);
  void ButtonSaveClick(ui::Control& sender);
  void ListBox1Click(ui::Control& sender);

  // Junk-file scanning.
  void TabScanInit();
  void cExtClick(ui::Control& sender);
  void selectClick(ui::Control& sender);
  void deselectClick(ui::Control& sender);
  void AddClick(ui::Control& sender);
  void RemoveClick(ui::Control& sender);
  void bScanClick(ui::Control& sender);
  void bSelAllClick(ui::Control& sender);
  void bClearAllClick(ui::Control& sender);
  void bDeleteClick(ui::Control& sender);
  void ListFilesSelectItem(ui::ListView& sender, int row, bool selected);

  // Controls, by their layout names.
  ui::PageControl* PageControl1;
  ui::TabSheet *TabClean, *TabScan, *TabAbout, *TabExit;
  ui::Control* GroupBox1;
  ui::CheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5, *CheckBoot;
  ui::Control *lStatus, *lprog;
  ui::ProgressBar* ProgressBar1;
  ui::Button* bCleanNow;
  ui::Control* GroupBox2;
  ui::ListBox* ListBox1;
  ui::Button *ButtonBrowse, *ButtonRemove, *ButtonSave;
  ui::Control *Label5, *Label7;
  ui::CheckListBox *cDisks, *cExt;
  ui::Button *bScan, *bDelete, *bSelAll, *bClearAll;
  ui::Control* Label9;
  ui::ProgressBar* ProgressBar2;
  ui::ListView* ListFiles;
  ui::Control *Image1, *Label1, *Label2, *Bevel1;
  ui::Button* Button6;
  ui::Control *GroupBox3, *Label4, *lEmail, *Label8, *HTTP;
  ui::StatusBar* StatusBar1;
  ui::PopupMenu *PopupMenu1, *PopupMenu2;

  // The one system folder locator; null when the start sequence failed
  // before creating it.
  std::unique_ptr<TSysDir> SysDir;
  // The file-type input dialog, created after the window.
  TAddExt* AddExt = nullptr;

  // Kilobytes freed by the current clean run.
  int32_t DelKB = 0;

  static const char* const kHomePage;
  static const char* const kContactAddress;

 private:
  void ConnectEvents();
  // The five system-folder boxes with the paths they select, in order.
  std::vector<std::pair<ui::CheckBox*, std::string>> SystemFolders() const;

  char decimal_separator_;
  // The files other programs hold open, taken once per clean run.
  std::unique_ptr<platform::InUseSnapshot> in_use_;
};

// The one main window, once created.
extern TSForm* SForm;
