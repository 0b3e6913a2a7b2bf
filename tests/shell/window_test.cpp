// The main window drawn by Qt, on the offscreen platform: what the user's
// keys, pointer and the window frame do.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTreeView>

#include "shell/Unit1.h"
#include "shell/UnitMainForm.h"
#include "support/Sandbox.h"
#include "ui/Application.h"
#include "ui/qt/QtBackend.h"

namespace {

class QtWindow : public ::testing::Test {
 protected:
  QtWindow() {
    // A box would wait for a click that never comes: count them instead.
    backend.boxes_to_stderr = true;
    ui::App().SetBackend(&backend);
    ui::App().title = "Quillmoor";
    ui::App().ResetTermination();
    form = std::make_unique<TSForm>();
    ui::App().main_form = form.get();
    top = backend.Realize(*form);
    ui::App().Dispatch([&] { form->FormCreate(*form); });
    backend.ShowMain(*form);
    QApplication::processEvents();
  }
  ~QtWindow() override {
    EXPECT_EQ(backend.error_boxes, 0);
    ui::App().main_form = nullptr;
  }

  QWidget* W(ui::Control* c) { return backend.WidgetOf(c); }

  RegistrySandbox sandbox;
  ui_qt::QtBackend backend;
  std::unique_ptr<TSForm> form;
  QWidget* top = nullptr;
};

TEST_F(QtWindow, FirstShowingOffersTheFixedDrivesAndChecksEveryMask) {
  EXPECT_GT(form->cDisks->Count(), 0u);
  for (size_t i = 0; i < form->cDisks->Count(); ++i) EXPECT_TRUE(form->cDisks->Checked(i));
  ASSERT_EQ(form->cExt->Count(), 19u);
  for (size_t i = 0; i < form->cExt->Count(); ++i) EXPECT_TRUE(form->cExt->Checked(i));
  auto* masks = static_cast<QListWidget*>(W(form->cExt));
  EXPECT_EQ(masks->item(18)->text(), "ANTI-VIR.DAT");
  EXPECT_EQ(masks->item(18)->checkState(), Qt::Checked);
}

TEST_F(QtWindow, IsAFixedSizeWindowWithOnlyCloseAndHelpButtons) {
  EXPECT_EQ(top->size(), QSize(435, 275));
  EXPECT_EQ(top->minimumSize(), top->maximumSize());
  Qt::WindowFlags flags = top->windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowContextHelpButtonHint);
  EXPECT_EQ(top->windowTitle(), "Quillmoor 3");
  EXPECT_EQ(W(form->bScan)->toolTip(), "扫描选择的文件类型");
}

TEST_F(QtWindow, TheLetterEOnACheckBoxEndsTheProgram) {
  W(form->CheckBox1)->setFocus();
  QApplication::processEvents();
  QTest::keyClick(W(form->CheckBox1), Qt::Key_E);
  EXPECT_EQ(form->PageControl1->active_page(), form->TabExit);
  EXPECT_TRUE(ui::App().terminated());
}

TEST_F(QtWindow, LetterAcceleratorsToggleTheSystemFolderBoxes) {
  W(form->CheckBox1)->setFocus();
  QApplication::processEvents();
  QTest::keyClick(W(form->CheckBox1), Qt::Key_H);
  EXPECT_TRUE(form->CheckBox4->checked());
  EXPECT_TRUE(static_cast<QCheckBox*>(W(form->CheckBox4))->isChecked());
}

TEST_F(QtWindow, CtrlShiftTabOnTheCleanPageWrapsToExit) {
  W(form->ListBox1)->setFocus();
  QApplication::processEvents();
  QTest::keyClick(W(form->ListBox1), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(ui::App().terminated());
}

TEST_F(QtWindow, EnterInTheFolderListPressesTheCleanButton) {
  W(form->ListBox1)->setFocus();
  QApplication::processEvents();
  QTest::keyClick(W(form->ListBox1), Qt::Key_Return);
  EXPECT_EQ(form->lprog->text(), "没有要清理的内容");
}

TEST_F(QtWindow, TheClosedBoxEndsTheProgramWithoutAQuestion) {
  top->close();
  EXPECT_TRUE(ui::App().terminated());
  EXPECT_EQ(backend.error_boxes, 0);
}

TEST_F(QtWindow, TheInputDialogReturnsOneForBlanksTwoWhenEmptyAndKeepsItsText) {
  TAddExt dialog;
  auto type_and_enter = [&](const char* text) {
    backend.on_modal_shown_for_tests = [&, text](QWidget* shown) {
      auto* edit = shown->findChild<QLineEdit*>();
      edit->setFocus();
      edit->clear();
      QTest::keyClicks(edit, text);
      QTest::keyClick(edit, Qt::Key_Return);
    };
    return backend.ShowModal(dialog);
  };
  EXPECT_EQ(type_and_enter(""), ui::kModalCancel);
  EXPECT_EQ(type_and_enter("  "), ui::kModalOk);
  backend.on_modal_shown_for_tests = [&](QWidget* shown) {
    EXPECT_EQ(shown->findChild<QLineEdit*>()->text(), "  ");
    shown->close();  // Alt+F4
  };
  EXPECT_EQ(backend.ShowModal(dialog), ui::kModalCancel);
  backend.on_modal_shown_for_tests = nullptr;
}

TEST_F(QtWindow, TheResultsModelStaysConsistentThroughBatchesAndRemovals) {
  auto* view = static_cast<QTreeView*>(W(form->ListFiles));
  QAbstractItemModelTester tester(view->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  std::vector<ui::ListRow> rows;
  for (int i = 0; i < 1000; ++i) rows.push_back({"f" + std::to_string(999 - i), {"/d", "1"}, false, {}});
  form->ListFiles->InsertSortedBatch(std::move(rows));
  form->ListFiles->InsertSorted({"a", {"/d", "0"}, false, {}});
  EXPECT_EQ(view->model()->rowCount(), 1001);
  EXPECT_EQ(view->model()->index(0, 0).data().toString(), "a");
  view->model()->setData(view->model()->index(3, 0), Qt::Checked, Qt::CheckStateRole);
  EXPECT_TRUE(form->ListFiles->Row(3).checked);
  std::vector<bool> remove(1001, false);
  remove[3] = remove[4] = true;
  form->ListFiles->RemoveRows(remove);
  EXPECT_EQ(view->model()->rowCount(), 999);
  EXPECT_EQ(view->model()->index(2, 2).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight, Qt::AlignRight);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
