#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "FormFixture.h"
#include "platform/files.h"
#include "settings/LineList.h"
#include "settings/Options.h"
#include "settings/Registry.h"
#include "shell/Unit1.h"
#include "sysdir/UnitSysDir.h"

namespace {

using testing_support::TempDir;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int32_t StoredInteger(const char* name) {
  TRegistry reg;
  EXPECT_TRUE(reg.OpenKey(kSettingsKey, false));
  return reg.ReadInteger(name);
}

TEST(AddExt, OkAcceptsAnyTextBlanksIncludedAndCancelsWhenEmpty) {
  ui::HeadlessBackend backend;
  ui::App().SetBackend(&backend);
  TAddExt dialog;
  struct Case {
    const char* text;
    int result;
  } cases[] = {{"", ui::kModalCancel}, {"  ", ui::kModalOk}, {"*.PIF", ui::kModalOk}};
  for (const Case& c : cases) {
    backend.on_modal = [&](ui::Form&) {
      dialog.Edit1->SetText(c.text);
      dialog.HandleEnter();  // Enter in the edit box presses OK
    };
    EXPECT_EQ(backend.ShowModal(dialog), c.result) << '"' << c.text << '"';
  }
  // Closed without OK (Alt+F4): cancelled; the text typed last stays.
  backend.on_modal = [&](ui::Form& f) { f.Close(); };
  EXPECT_EQ(backend.ShowModal(dialog), ui::kModalCancel);
  EXPECT_EQ(dialog.Edit1->text(), "*.PIF");
}

class Window : public FormFixture {};

TEST_F(Window, HelpShowsTopicThreeOnTheCleanAndScanPagesAndTwoElsewhere) {
  TSForm& f = Create();
  struct Case {
    ui::Control* control;
    uint32_t topic;
  } cases[] = {{f.CheckBox1, 3}, {f.ListBox1, 3}, {f.bScan, 3}, {f.ListFiles, 3},
               {f.Button6, 2},   {f.lEmail, 2},   {f.TabExit, 2}, {f.StatusBar1, 2}};
  for (const Case& c : cases) {
    backend.help_calls.clear();
    ui::App().ContextHelp(*c.control);
    ASSERT_EQ(backend.help_calls.size(), 2u) << c.control->name();
    EXPECT_EQ(backend.help_calls[0].command, ui::kHelpSetPopupPos);
    EXPECT_EQ(backend.help_calls[1].command, ui::kHelpContextPopup);
    EXPECT_EQ(backend.help_calls[1].data, c.topic) << c.control->name();
  }
}

TEST_F(Window, TheExitPageEndsTheProgramHoweverItIsReached) {
  {
    TSForm& f = Create();
    f.SetFocus(f.CheckBox2);
    EXPECT_TRUE(f.HandleAccelerator('E', false));
    EXPECT_TRUE(ui::App().terminated());
  }
  ui::App().ResetTermination();
  TSForm& f = Create();
  f.HandlePageCycle(false);  // Ctrl+Shift+Tab on the Clean page wraps to Exit
  EXPECT_EQ(f.PageControl1->active_page(), f.TabExit);
  EXPECT_TRUE(ui::App().terminated());
}

TEST_F(Window, EnterInTheFolderListRunsTheClean) {
  TSForm& f = Create();
  f.SetFocus(f.ListBox1);
  EXPECT_TRUE(f.HandleEnter());
  EXPECT_EQ(f.lprog->text(), "没有要清理的内容");
  EXPECT_EQ(f.lprog->font().color, ui::Color::Maroon);
}

TEST_F(Window, FirstRunWritesTheDefaultsAndShowsTheCleanPage) {
  TSForm& f = Create();
  EXPECT_TRUE(backend.boxes.empty()) << LastBox();
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kSettingsKey, false));
  EXPECT_EQ(reg.ValueCount(), 8);
  EXPECT_EQ(reg.ReadString(kInstallDirValue), platform::ProgramFolder());
  for (auto* box : {f.CheckBox1, f.CheckBox2, f.CheckBox3, f.CheckBox4, f.CheckBox5, f.CheckBoot})
    EXPECT_FALSE(box->checked());
  EXPECT_EQ(f.StatusBar1->PanelText(1), "0MB");
  EXPECT_EQ(f.PageControl1->active_page(), f.TabClean);
  ASSERT_NE(f.SysDir, nullptr);
}

TEST_F(Window, StoredOptionsComeBackAndAreWrittenBackByTheirClickHandlers) {
  {
    TRegistry reg;
    InitOptions(reg, platform::ProgramFolder());
    reg.WriteInteger(kTempValue, 5);
    reg.WriteInteger(kCleanedValue, 123456);
  }
  TSForm& f = Create();
  EXPECT_TRUE(f.CheckBox1->checked());
  EXPECT_EQ(StoredInteger(kTempValue), 1);
  EXPECT_EQ(f.StatusBar1->PanelText(1), "123.4MB");
  f.CheckBox3->Toggle();
  EXPECT_EQ(StoredInteger(kCacheValue), 1);
  f.CheckBox3->Toggle();
  EXPECT_EQ(StoredInteger(kCacheValue), 0);
}

TEST_F(Window, AFailedReadStopsTheStartSequenceAndIsShownInTheErrorBox) {
  {
    TRegistry reg;
    InitOptions(reg, platform::ProgramFolder());
    reg.WriteInteger(kRecentValue, 1);
    reg.WriteString(kCleanedValue, "0");
  }
  TSForm& f = Create();
  // Ends in "'", which sorts before ".": no full stop is added.
  EXPECT_EQ(LastBox(), "无效的数据类型给予 'Cleaned'");
  EXPECT_EQ(backend.boxes.back().caption, "Quillmoor");
  EXPECT_TRUE(f.CheckBox2->checked());  // read before the failure
  EXPECT_EQ(f.SysDir, nullptr);         // the later steps did not run
  // Without a locator the clean run and Remove still work.
  f.ListBox1->Add("");
  f.ListBox1->SetItemIndex(0);
  Click(*f.ButtonRemove);
  EXPECT_TRUE(f.bCleanNow->enabled());
}

TEST_F(Window, CleanRunShowsTheTotalInGreenAddsItToTheCounterAndSteppsTheBar) {
  TempDir one, two;
  one.write("a.bin", std::string(1536, 'x'));
  two.write("sub/b.bin", std::string(3000, 'y'));
  two.write("Desktop.INI", "kept");
  TSForm& f = Create();
  f.ListBox1->Add(two.path());
  f.ListBox1->Add(one.path());

  struct BarRecorder : ui::Peer {
    ui::ProgressBar* bar;
    std::vector<int> positions;
    void Changed(ui::Change what) override {
      if (what == ui::Change::Position) positions.push_back(bar->position());
    }
    void RepaintNow() override {}
  } recorder;
  recorder.bar = f.ProgressBar1;
  f.ProgressBar1->SetPeer(&recorder);

  Click(*f.bCleanNow);
  f.ProgressBar1->SetPeer(nullptr);
  EXPECT_TRUE(backend.boxes.empty()) << LastBox();
  EXPECT_EQ(f.lprog->text(), "3KB 被清理 ");
  EXPECT_EQ(f.lprog->font().color, ui::Color::Green);
  EXPECT_EQ(recorder.positions, (std::vector<int>{50, 100, 0}));
  EXPECT_EQ(StoredInteger(kCleanedValue), 3);
  EXPECT_EQ(f.StatusBar1->PanelText(1), "0MB");
  EXPECT_TRUE(f.bCleanNow->enabled());
  EXPECT_EQ(f.DelKB, 0);
  EXPECT_FALSE(one.exists("a.bin"));
  EXPECT_FALSE(two.exists("sub"));
  EXPECT_TRUE(two.exists("Desktop.INI"));
}

TEST_F(Window, AFolderThatCannotBeEnteredEndsTheRunWithoutCounting) {
  TempDir first;
  TSForm& f = Create();
  // Sorted: first, the missing folder, last.
  f.ListBox1->Add(first.path() + "/a");
  first.mkdir("a");
  first.write("a/x", std::string(4096, 'x'));
  f.ListBox1->Add(first.path() + "/b-missing");
  f.ListBox1->Add(first.path() + "/c");
  first.write("c/z", std::string(4096, 'z'));

  Click(*f.bCleanNow);
  EXPECT_EQ(LastBox(), "文件找不到.");
  EXPECT_FALSE(first.exists("a/x"));
  EXPECT_TRUE(first.exists("c/z"));
  EXPECT_EQ(StoredInteger(kCleanedValue), 0);
  EXPECT_EQ(f.lprog->font().color, ui::Color::ButtonFace);
  EXPECT_TRUE(f.bCleanNow->enabled());
  EXPECT_EQ(f.ProgressBar1->position(), 0);
  EXPECT_EQ(f.DelKB, 0);
}

TEST_F(Window, RemoveUnchecksAMatchingSystemFolderAndDeletesAnyOtherEntry) {
  testing_support::ScopedEnv temp("TMPDIR", "/tmp/");
  TSForm& f = Create();
  struct Case {
    std::string entry;
    ui::CheckBox* unchecked;  // null: the entry goes
  } cases[] = {
      {"/TMP/", f.CheckBox1},   // letter case does not matter
      {"/tmp", nullptr},        // the temp path's final separator does
      {"/elsewhere", nullptr},
  };
  for (const Case& c : cases) {
    f.ListBox1->Clear();
    f.ListBox1->Add(c.entry);
    f.ListBox1->SetItemIndex(0);
    f.CheckBox1->SetChecked(true);
    Click(*f.ButtonRemove);
    if (c.unchecked) {
      EXPECT_FALSE(c.unchecked->checked()) << c.entry;
      EXPECT_EQ(f.ListBox1->Count(), 1u) << c.entry;
    } else {
      EXPECT_TRUE(f.CheckBox1->checked()) << c.entry;
      EXPECT_EQ(f.ListBox1->Count(), 0u) << c.entry;
    }
  }
  f.ListBox1->Clear();
  f.ListBox1->Add("x");
  Click(*f.ButtonRemove);  // nothing selected: nothing happens
  EXPECT_EQ(f.ListBox1->Count(), 1u);
}

TEST_F(Window, SaveWritesTheSortedListAndAnEmptyListDeletesTheFile) {
  TSForm& f = Create();
  f.ListBox1->Add("/b");
  f.ListBox1->Add("/A");
  Click(*f.ButtonSave);
  EXPECT_EQ(ReadFile(ProgramFile("qm.ini")), "/A\r\n/b\r\n");
  f.ListBox1->Clear();
  Click(*f.ButtonSave);
  EXPECT_FALSE(platform::FileExists(ProgramFile("qm.ini")));
}

TEST_F(Window, TheSavedListsAreLoadedAtStart) {
  SaveLineList(ProgramFile("qm.ini"), {"/z", "", "/a"});
  SaveLineList(ProgramFile("QMext.ini"), {});
  TSForm& f = Create();
  EXPECT_EQ(f.ListBox1->items(), (std::vector<std::string>{"", "/a", "/z"}));
  EXPECT_EQ(f.cExt->Count(), 0u);  // an empty mask file: no masks, no defaults
}

}  // namespace
