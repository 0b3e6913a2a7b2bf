#include <gtest/gtest.h>

#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/Headless.h"
#include "ui/ListView.h"

namespace {

TEST(ErrorBoxText, AddsAFullStopOnlyAfterCharactersThatSortAfterIt) {
  struct Case {
    const char* message;
    const char* shown;
  } cases[] = {
      {"文件找不到", "文件找不到."},            // a double-byte character
      {"Disk full", "Disk full."},              // a letter
      {"I/O 错误 103", "I/O 错误 103."},        // a digit
      {"没有选择驱动器！", "没有选择驱动器！."},  // the double-byte "！"
      {"Done.", "Done."},
      {"Stop!", "Stop!"},                        // the single-byte "!" sorts before "."
      {"ends in blank ", "ends in blank "},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ui::Application::ErrorBoxText(c.message), c.shown) << c.message;
}

TEST(CheckBox, SettingTheStateFromCodeRaisesTheClickEventOncePerChange) {
  ui::Form form("F");
  auto* box = form.Make<ui::CheckBox>("Box", nullptr);
  int clicks = 0;
  box->on_click = [&](ui::Control&) { ++clicks; };
  box->SetChecked(true);
  box->SetChecked(true);  // no change, no event
  box->Toggle();
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(box->checked());
}

TEST(ListBox, SortedListKeepsAlphabeticalOrderWithoutRegardToCase) {
  ui::Form form("F");
  auto* list = form.Make<ui::ListBox>("List", nullptr);
  list->sorted = true;
  for (const char* item : {"E:\\Work", "c:\\temp", "D:\\Data", "C:\\Docs", "C:\\TEMP"}) list->Add(item);
  std::vector<std::string> expected = {"C:\\Docs", "c:\\temp", "C:\\TEMP", "D:\\Data", "E:\\Work"};
  EXPECT_EQ(list->items(), expected);
}

TEST(ListBox, SelectionFollowsItsEntryWhenOthersAreAddedOrRemoved) {
  ui::Form form("F");
  auto* list = form.Make<ui::ListBox>("List", nullptr);
  list->sorted = true;
  list->Add("b");
  list->SetItemIndex(0);
  list->Add("a");
  EXPECT_EQ(list->item_index(), 1);
  list->Delete(0);
  EXPECT_EQ(list->item_index(), 0);
  list->Delete(0);
  EXPECT_EQ(list->item_index(), -1);
}

TEST(PageControl, CyclingWrapsAroundAndRaisesTheShowEvent) {
  ui::Form form("F");
  auto* pages = form.Make<ui::PageControl>("Pages", nullptr);
  form.pages = pages;
  std::vector<ui::TabSheet*> sheets;
  for (const char* name : {"A", "B", "C"}) sheets.push_back(form.Make<ui::TabSheet>(name, pages));
  std::string shown;
  for (auto* sheet : sheets) sheet->on_show = [&](ui::Control& c) { shown += c.name(); };
  form.HandlePageCycle(false);  // from the first page backwards: the last
  form.HandlePageCycle(true);   // and forwards again: the first
  form.HandlePageCycle(true);
  EXPECT_EQ(shown, "CAB");
}

class FormKeys : public ::testing::Test {
 protected:
  FormKeys() {
    ui::App().SetBackend(&backend);
    pages = form.Make<ui::PageControl>("Pages", nullptr);
    form.pages = pages;
    one = form.Make<ui::TabSheet>("One", pages);
    two = form.Make<ui::TabSheet>("Two", pages);
    two->SetText("退出(&E)");
    box = form.Make<ui::CheckBox>("Box", one);
    box->SetText("Temp(&T)");
    list = form.Make<ui::ListBox>("List", one);
    ok = form.Make<ui::Button>("Ok", one);
    ok->is_default = true;
    other = form.Make<ui::Button>("Other", one);
    other->SetText("添加(&A)");
    ok->on_click = [&](ui::Control&) { pressed += "ok "; };
    other->on_click = [&](ui::Control&) { pressed += "other "; };
  }
  ui::HeadlessBackend backend;
  ui::Form form{"F"};
  ui::PageControl* pages;
  ui::TabSheet *one, *two;
  ui::CheckBox* box;
  ui::ListBox* list;
  ui::Button *ok, *other;
  std::string pressed;
};

TEST_F(FormKeys, EnterPressesTheFocusedButtonElseTheVisiblePagesEnabledDefault) {
  form.SetFocus(other);
  form.HandleEnter();
  form.SetFocus(list);
  form.HandleEnter();
  ok->SetEnabled(false);
  EXPECT_FALSE(form.HandleEnter());
  ok->SetEnabled(true);
  pages->SetActiveIndex(1);  // the default button's page is hidden
  EXPECT_FALSE(form.HandleEnter());
  EXPECT_EQ(pressed, "other ok ");
}

TEST_F(FormKeys, LetterAloneIsAnAcceleratorOnlyWhileAButtonOrCheckBoxHasTheFocus) {
  form.SetFocus(list);
  EXPECT_FALSE(form.HandleAccelerator('t', false));
  EXPECT_TRUE(form.HandleAccelerator('t', true));
  EXPECT_TRUE(box->checked());
  // The focus is on the box now: T alone toggles it back, A presses Add.
  EXPECT_TRUE(form.HandleAccelerator('t', false));
  EXPECT_FALSE(box->checked());
  EXPECT_TRUE(form.HandleAccelerator('a', false));
  EXPECT_EQ(pressed, "other ");
  // E selects the page that carries it.
  EXPECT_TRUE(form.HandleAccelerator('E', false));
  EXPECT_EQ(pages->active_page(), two);
}

TEST(Hints, PanelZeroTakesTheNearestHintAndChangesOnlyWhenTheHintDiffers) {
  ui::Form form("F");
  auto* bar = form.Make<ui::StatusBar>("Status", nullptr);
  bar->panels() = {{300, false, ""}, {50, true, ""}};
  form.hint_bar = bar;
  auto* group = form.MakePlain(ui::Kind::GroupBox, "Group", nullptr);
  group->SetHint("group hint");
  auto* inner = form.MakePlain(ui::Kind::Label, "Inner", group);
  auto* button = form.Make<ui::Button>("Button", nullptr);
  button->SetHint("扫描选择的文件类型");
  auto* bare = form.MakePlain(ui::Kind::Label, "Bare", nullptr);

  form.IdleHint(button);
  EXPECT_EQ(bar->PanelText(0), "扫描选择的文件类型");
  bar->SetPanelText(0, "12个文件被找到");  // an operation's message
  form.IdleHint(button);                    // same hint found: the message stays
  EXPECT_EQ(bar->PanelText(0), "12个文件被找到");
  form.IdleHint(inner);
  EXPECT_EQ(bar->PanelText(0), "group hint");
  form.IdleHint(bare);
  EXPECT_EQ(bar->PanelText(0), "");
}

TEST(ContextHelp, WalksUpToTheFirstNonZeroContextAndPopsItUpAtThatControl) {
  ui::HeadlessBackend backend;
  ui::App().SetBackend(&backend);
  ui::App().help_file = "QUILLMOOR.HLP";
  ui::Form form("F");
  auto* page = form.MakePlain(ui::Kind::Panel, "Page", nullptr);
  page->help_context = 3;
  page->bounds = {4, 28, 427, 223};
  auto* box = form.Make<ui::CheckBox>("Box", page);
  box->bounds = {8, 20, 151, 17};
  auto* loose = form.Make<ui::Button>("Loose", nullptr);

  ui::App().ContextHelp(*box);
  ui::App().ContextHelp(*loose);  // no context anywhere up: nothing
  ASSERT_EQ(backend.help_calls.size(), 2u);
  EXPECT_EQ(backend.help_calls[0].command, ui::kHelpSetPopupPos);
  EXPECT_EQ(backend.help_calls[0].data, (28u << 16) | 4u);
  EXPECT_EQ(backend.help_calls[1].command, ui::kHelpContextPopup);
  EXPECT_EQ(backend.help_calls[1].data, 3u);
  EXPECT_EQ(backend.help_calls[1].file, "QUILLMOOR.HLP");
}

TEST(ListView, RowsStayInNameOrderWhetherInsertedOneByOneOrInBatches) {
  ui::Form form("F");
  auto* list = form.Make<ui::ListView>("List", nullptr);
  list->InsertSorted({"C.TMP", {"/c"}, false, {}});
  list->InsertSorted({"A.TMP", {"/a"}, false, {}});
  list->InsertSortedBatch({{"B.TMP", {"/b"}, false, {}}, {"A.TMP", {"/a2"}, false, {}}, {"D.TMP", {"/d"}, false, {}}});
  std::vector<std::string> order;
  for (const auto& row : list->rows()) order.push_back(row.caption + row.subitems[0]);
  // An earlier row of an equal name stays before a later one.
  EXPECT_EQ(order, (std::vector<std::string>{"A.TMP/a", "A.TMP/a2", "B.TMP/b", "C.TMP/c", "D.TMP/d"}));
}

TEST(ListView, RemovingRowsKeepsTheRestInOrderAndFollowsTheSelection) {
  ui::Form form("F");
  auto* list = form.Make<ui::ListView>("List", nullptr);
  for (const char* name : {"a", "b", "c", "d", "e"}) list->InsertSorted({name, {}, false, {}});
  list->SelectByUser(3);
  list->RemoveRows({true, true, false, false, true});
  ASSERT_EQ(list->RowCount(), 2u);
  EXPECT_EQ(list->Row(0).caption, "c");
  EXPECT_EQ(list->selected(), 1);
}

TEST(ListView, SelectionChangeAnnouncesTheOldRowFirstThenTheNew) {
  ui::Form form("F");
  auto* list = form.Make<ui::ListView>("List", nullptr);
  for (const char* name : {"a", "b"}) list->InsertSorted({name, {}, false, {}});
  std::string events;
  list->on_select_item = [&](ui::ListView& l, int row, bool selected) {
    events += l.Row(static_cast<size_t>(row)).caption + (selected ? "+" : "-");
  };
  list->SelectByUser(0);
  list->SelectByUser(1);
  list->SelectByUser(-1);  // empty space
  EXPECT_EQ(events, "a+a-b+b-");
}

}  // namespace
