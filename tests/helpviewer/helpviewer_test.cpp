#include "ui/qt/HelpViewer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTextBrowser>

#include "help/HelpFile.h"
#include "support/TempDir.h"

namespace {

using testing_support::TempDir;
using ui_qt::HelpViewer;

struct Complaint {
  int count = 0;
  QString caption, text;
};

// Replaces the complaint box for the test's length, so nothing blocks.
class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = HelpViewer::SetComplaint([this](QWidget*, const QString& caption, const QString& text) {
      ++complaint_.count;
      complaint_.caption = caption;
      complaint_.text = text;
    });
  }
  void TearDown() override {
    HelpViewer::SetComplaint(previous_);
    for (QWidget* w : QApplication::topLevelWidgets()) delete w;
  }
  std::string WriteHelp() {
    help::HelpFile f;
    f.title = "Test";
    f.topics = {{"Contents", "contents", 0, {{help::ParagraphStyle::kBody, "overview"}}},
                {"Main", "main", 2, {{help::ParagraphStyle::kBody, "main window topic"}}},
                {"Pages", "pages", 3, {{help::ParagraphStyle::kHeading, "\xC7\xE5\xC0\xED"},  // 清理
                                       {help::ParagraphStyle::kBody, "clean and scan topic"}}}};
    tmp_.write("QUILLMOOR.HLP", help::Write(f));
    return tmp_ / "QUILLMOOR.HLP";
  }
  static QWidget* TopLevel(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
  }

  TempDir tmp_;
  Complaint complaint_;
  HelpViewer::Complaint previous_;
};

TEST_F(ViewerTest, ContextPopupShowsTheTopicAtTheGivenPosition) {
  const std::string path = WriteHelp();
  struct Case {
    uint32_t number;
    const char* expected;
    const char* absent;
  } cases[] = {{3, "clean and scan topic", "main window"}, {2, "main window topic", "clean and scan"}};
  for (const Case& c : cases) {
    HelpViewer::Command(nullptr, path, HelpViewer::kSetPopupPos, (90u << 16) | 120u);
    HelpViewer::Command(nullptr, path, HelpViewer::kContextPopup, c.number);
    QWidget* popup = TopLevel("HelpPopup");
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->pos(), QPoint(120, 90));
    const QString text = popup->findChild<QLabel*>("HelpPopupText")->text();
    EXPECT_TRUE(text.contains(c.expected)) << text.toStdString();
    EXPECT_FALSE(text.contains(c.absent));
    popup->close();
    QApplication::processEvents();
  }
  EXPECT_EQ(complaint_.count, 0);
}

TEST_F(ViewerTest, PopupTextIsConvertedFromTheCodePage) {
  HelpViewer::Command(nullptr, WriteHelp(), HelpViewer::kContextPopup, 3);
  QWidget* popup = TopLevel("HelpPopup");
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(popup->findChild<QLabel*>("HelpPopupText")->text().contains(QStringLiteral("清理")));
}

TEST_F(ViewerTest, FinderListsTheTopicsAndShowsTheContents) {
  HelpViewer::Command(nullptr, WriteHelp(), HelpViewer::kFinder, 0);
  QWidget* finder = TopLevel("HelpFinder");
  ASSERT_NE(finder, nullptr);
  auto* list = finder->findChild<QListWidget*>("HelpTopics");
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(2)->text(), "Pages");
  EXPECT_TRUE(finder->findChild<QTextBrowser*>("HelpPage")->toPlainText().contains("overview"));
  list->setCurrentRow(1);
  EXPECT_TRUE(finder->findChild<QTextBrowser*>("HelpPage")->toPlainText().contains("main window topic"));
}

TEST_F(ViewerTest, MissingOrBadFileIsTheViewersOwnComplaint) {
  tmp_.write("BROKEN.HLP", "not a help file");
  const std::string paths[] = {"QUILLMOOR.HLP", tmp_ / "QUILLMOOR.HLP", tmp_ / "BROKEN.HLP"};
  for (const std::string& path : paths) {
    complaint_ = {};
    for (unsigned command : {HelpViewer::kFinder, HelpViewer::kContextPopup}) {
      HelpViewer::Command(nullptr, path, command, 3);
      EXPECT_EQ(TopLevel("HelpFinder"), nullptr);
      EXPECT_EQ(TopLevel("HelpPopup"), nullptr);
    }
    EXPECT_EQ(complaint_.count, 2) << path;
    EXPECT_EQ(complaint_.caption, QStringLiteral("帮助"));
    const QString name = QString::fromStdString(path.substr(path.find_last_of('/') + 1));
    EXPECT_EQ(complaint_.text, QStringLiteral("无法打开帮助文件 %1。").arg(name));
  }
}

TEST_F(ViewerTest, UnknownContextNumberComplainsAndShowsNothing) {
  HelpViewer::Command(nullptr, WriteHelp(), HelpViewer::kContextPopup, 7);
  EXPECT_EQ(TopLevel("HelpPopup"), nullptr);
  EXPECT_EQ(complaint_.count, 1);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
