#include <gtest/gtest.h>

#include <algorithm>

#include "FormFixture.h"
#include "platform/text.h"
#include "settings/Options.h"
#include "settings/LineList.h"
#include "settings/Registry.h"
#include "shell/Unit1.h"

namespace {

using testing_support::TempDir;

// Records every text the scan page's label shows, in order.
struct TextRecorder : ui::Peer {
  ui::Control* label = nullptr;
  std::vector<std::string> texts;
  void Changed(ui::Change what) override {
    if (what == ui::Change::Text) texts.push_back(label->text());
  }
  void RepaintNow() override {}
};

class ScanPage : public FormFixture {
 protected:
  TSForm& Prepare(const std::vector<std::string>& masks) {
    TSForm& f = Create();
    f.cDisks->Clear();
    f.cDisks->SetChecked(f.cDisks->Add(drive.path()), true);
    f.cExt->SetItems(masks);
    for (size_t i = 0; i < masks.size(); ++i) f.cExt->SetChecked(i, true);
    recorder.label = f.Label9;
    f.Label9->SetPeer(&recorder);
    return f;
  }
  ~ScanPage() override {
    if (form) form->Label9->SetPeer(nullptr);
  }
  TempDir drive;
  TextRecorder recorder;
};

TEST_F(ScanPage, RefusalsEmptyTheListFirst) {
  TSForm& f = Prepare({"*.TMP"});
  f.ListFiles->InsertSorted({"old", {"/x", "1"}, false, {}});
  f.cDisks->SetChecked(0, false);
  Click(*f.bScan);
  EXPECT_EQ(f.Label9->text(), "没有选择驱动器！  ");
  EXPECT_TRUE(f.Label9->visible());
  EXPECT_EQ(f.ListFiles->RowCount(), 0u);
  f.cDisks->SetChecked(0, true);
  f.cExt->SetChecked(0, false);
  Click(*f.bScan);
  EXPECT_EQ(f.Label9->text(), "没有选择文件类型！    ");
  EXPECT_TRUE(f.bScan->enabled());
}

TEST_F(ScanPage, ScanListsMatchesOnceInNameOrderWithTotalsOverTheWholeScan) {
  drive.write("root.tmp", std::string(4096, 'r'));  // in the drive's root: never searched
  drive.write("data/~A.TMP", std::string(2048, 'a'));
  drive.write("data/C.TMP", std::string(1023, 'c'));
  drive.write("data/.hidden/B.bak", std::string(3072, 'b'));
  drive.mkdir("data/OLD.TMP");  // a folder is never a result
  TSForm& f = Prepare({"*.TMP", "~*.*", "*.BAK"});
  Click(*f.bScan);
  EXPECT_TRUE(backend.boxes.empty());

  ASSERT_EQ(f.ListFiles->RowCount(), 3u);
  std::vector<std::string> names;
  for (size_t i = 0; i < f.ListFiles->RowCount(); ++i) {
    const ui::ListRow& row = f.ListFiles->Row(i);
    names.push_back(row.caption + "=" + row.subitems[1]);
    // Name order by the user's collation, whatever the locale of the run.
    if (i > 0) {
      EXPECT_LE(platform::CompareLocale(f.ListFiles->Row(i - 1).caption, row.caption), 0);
    }
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"B.bak=3", "C.TMP=0", "~A.TMP=2"}));

  // The texts in order: the count while collecting, then per mask the
  // searching line and its totals, ~A.TMP counted once through "*.TMP".
  ASSERT_GE(recorder.texts.size(), 2u);
  EXPECT_EQ(recorder.texts.front(), "正在扫描...");
  std::vector<std::string> tail(recorder.texts.end() - 6, recorder.texts.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"正在搜索... ", "找到： 2Kb 在 2个文件", "正在搜索... ",
                                            "找到： 2Kb 在 2个文件", "正在搜索... ", "找到： 5Kb 在 3个文件"}));
  EXPECT_EQ(f.StatusBar1->PanelText(0), "3个文件被找到");
  EXPECT_EQ(f.ListFiles->hint(), "3个文件被找到");
  for (ui::Button* b : {f.bScan, f.bSelAll, f.bDelete, f.bClearAll}) EXPECT_TRUE(b->enabled());

  for (size_t i = 0; i < 3; ++i)
    if (f.ListFiles->Row(i).caption == "B.bak") f.ListFiles->SelectByUser(static_cast<int>(i));
  EXPECT_EQ(f.ListFiles->hint(), drive.path() + "/data/.hidden/B.bak");
}

TEST_F(ScanPage, AMaskUncheckedWhileTheScanLetsMessagesThroughIsNotSearched) {
  drive.write("d/x.tmp", "x");
  drive.write("d/y.bak", "y");
  TSForm& f = Prepare({"*.TMP", "*.BAK"});
  bool buttons_disabled = false;
  backend.on_process_messages = [&] {
    buttons_disabled = !f.bScan->enabled() && !f.bDelete->enabled();
    f.cExt->SetChecked(1, false);
  };
  Click(*f.bScan);
  EXPECT_TRUE(buttons_disabled);
  ASSERT_EQ(f.ListFiles->RowCount(), 1u);
  EXPECT_EQ(f.ListFiles->Row(0).caption, "x.tmp");
}

TEST_F(ScanPage, DeleteRemovesTheCheckedFilesAndRowsAndAddsWhatWentToTheCounter) {
  drive.write("d/a.tmp", std::string(2048, 'a'));
  drive.write("d/b.tmp", std::string(4096, 'b'));
  drive.write("d/c.tmp", std::string(8192, 'c'));
  TSForm& f = Prepare({"*.tmp"});
  Click(*f.bScan);
  ASSERT_EQ(f.ListFiles->RowCount(), 3u);
  f.ListFiles->SetChecked(0, true);
  f.ListFiles->SetChecked(1, true);  // next to each other: both handled
  Click(*f.bDelete);
  EXPECT_TRUE(backend.boxes.empty());
  EXPECT_FALSE(drive.exists("d/a.tmp"));
  EXPECT_FALSE(drive.exists("d/b.tmp"));
  EXPECT_TRUE(drive.exists("d/c.tmp"));
  ASSERT_EQ(f.ListFiles->RowCount(), 1u);
  EXPECT_EQ(f.ListFiles->Row(0).caption, "c.tmp");
  EXPECT_EQ(f.Label9->text(), "已删除： 6KB");
  EXPECT_FALSE(f.ProgressBar2->visible());
  EXPECT_EQ(f.ProgressBar2->position(), 2);
  EXPECT_EQ(f.StatusBar1->PanelText(0), drive.path() + "/d/b.tmp");
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kSettingsKey, false));
  EXPECT_EQ(reg.ReadInteger(kCleanedValue), 6);

  Click(*f.bDelete);  // nothing checked: nothing touched, 0 added
  EXPECT_EQ(f.Label9->text(), "已删除： 0KB");
  EXPECT_TRUE(drive.exists("d/c.tmp"));
}

TEST_F(ScanPage, AddedAndRemovedMasksAreWrittenToTheMaskFile) {
  TSForm& f = Prepare({"*.BAK"});
  TAddExt dialog;
  f.AddExt = &dialog;
  backend.on_modal = [&](ui::Form&) {
    dialog.Edit1->SetText("*.BAK");
    dialog.Button1->Click();
  };
  Click(*f.cExt);  // no effect; the menu item is what adds
  f.PopupMenu2->items[2].on_click();
  EXPECT_EQ(f.cExt->items(), (std::vector<std::string>{"*.BAK", "*.BAK"}));
  EXPECT_FALSE(f.cExt->Checked(1));
  EXPECT_EQ(LoadLineList(ProgramFile("QMext.ini")), f.cExt->items());
  f.PopupMenu2->items[3].on_click();  // nothing selected: nothing removed
  EXPECT_EQ(f.cExt->Count(), 2u);
  f.cExt->SelectByUser(0);
  EXPECT_EQ(f.StatusBar1->PanelText(0), "*.BAK");
  f.PopupMenu2->items[3].on_click();
  EXPECT_EQ(LoadLineList(ProgramFile("QMext.ini")), (std::vector<std::string>{"*.BAK"}));
}

}  // namespace
