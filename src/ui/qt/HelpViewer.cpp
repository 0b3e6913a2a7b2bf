#include "ui/qt/HelpViewer.h"

#include <optional>

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "help/HelpFile.h"
#include "platform/codepage.h"

namespace ui_qt {
namespace {

// Every text of the viewer.
const QString kCaption = QStringLiteral("帮助");
QString CannotOpen(const QString& name) { return QStringLiteral("无法打开帮助文件 %1。").arg(name); }
QString NoSuchTopic(const QString& name) { return QStringLiteral("帮助文件 %1 中没有这个主题。").arg(name); }
const QString kFinderTitle = QStringLiteral("帮助主题：%1");

HelpViewer::Complaint& CurrentComplaint() {
  static HelpViewer::Complaint complaint = [](QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox::warning(owner, caption, text);
  };
  return complaint;
}

struct PopupPosition {
  bool set = false;
  QPoint at;
};
PopupPosition& RememberedPosition() {
  static PopupPosition position;
  return position;
}

QString Text(const std::string& ansi) { return QString::fromStdString(platform::AnsiToUtf8(ansi)); }

QString FileName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return QString::fromStdString(slash == std::string::npos ? path : path.substr(slash + 1));
}

std::optional<help::HelpFile> Load(const std::string& path) {
  // A bare name was not found by the caller; the current folder is never searched.
  if (path.find('/') == std::string::npos) return std::nullopt;
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.readAll();
  return help::Read(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

QString TopicHtml(const help::Topic& topic) {
  QString html;
  for (const help::Paragraph& p : topic.paragraphs) {
    QString text = Text(p.text).toHtmlEscaped().replace('\n', QStringLiteral("<br>"));
    if (p.style == help::ParagraphStyle::kHeading)
      html += QStringLiteral("<p><b><big>%1</big></b></p>").arg(text);
    else
      html += QStringLiteral("<p>%1</p>").arg(text);
  }
  return html;
}

// A frameless topic window that any click or key closes.
class PopupTopic : public QFrame {
 public:
  explicit PopupTopic(const help::Topic& topic) : QFrame(nullptr, Qt::Popup | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("HelpPopup"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setStyleSheet(QStringLiteral("PopupTopic, QLabel { background: #ffffe1; }"));
    auto* label = new QLabel(TopicHtml(topic), this);
    label->setObjectName(QStringLiteral("HelpPopupText"));
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setMaximumWidth(360);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->addWidget(label);
  }

 protected:
  void mousePressEvent(QMouseEvent*) override { close(); }
  void keyPressEvent(QKeyEvent*) override { close(); }
};

// The contents-and-index window: the topic titles, and the chosen topic.
class FinderWindow : public QWidget {
 public:
  FinderWindow(QWidget* owner, const help::HelpFile& file) : QWidget(owner, Qt::Window), file_(file) {
    setObjectName(QStringLiteral("HelpFinder"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kFinderTitle.arg(Text(file_.title)));
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("HelpTopics"));
    for (const help::Topic& t : file_.topics) list->addItem(Text(t.title));
    auto* page = new QTextBrowser(this);
    page->setObjectName(QStringLiteral("HelpPage"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list, 1);
    layout->addWidget(page, 3);
    connect(list, &QListWidget::currentRowChanged, page, [this, page](int row) {
      if (row >= 0 && static_cast<size_t>(row) < file_.topics.size()) page->setHtml(TopicHtml(file_.topics[row]));
    });
    list->setCurrentRow(static_cast<int>(file_.contents_topic));
    resize(560, 380);
  }

 private:
  help::HelpFile file_;
};

void ShowPopup(const help::Topic& topic) {
  auto* popup = new PopupTopic(topic);
  popup->adjustSize();
  const PopupPosition& p = RememberedPosition();
  popup->move(p.set ? p.at : QCursor::pos());
  popup->show();
}

}  // namespace

HelpViewer::Complaint HelpViewer::SetComplaint(Complaint complaint) {
  Complaint previous = std::move(CurrentComplaint());
  CurrentComplaint() = std::move(complaint);
  return previous;
}

void HelpViewer::Command(QWidget* owner, const std::string& help_file_path, unsigned command, uint32_t data) {
  if (command == kSetPopupPos) {
    // Screen coordinates, each a signed 16-bit number.
    RememberedPosition() = {true, QPoint(static_cast<int16_t>(data & 0xFFFF), static_cast<int16_t>(data >> 16))};
    return;
  }
  if (command != kFinder && command != kContextPopup) return;
  const QString name = FileName(help_file_path);
  auto file = Load(help_file_path);
  if (!file) {
    CurrentComplaint()(owner, kCaption, CannotOpen(name));
    return;
  }
  if (command == kFinder) {
    auto* window = new FinderWindow(owner, *file);
    window->show();
    window->raise();
    return;
  }
  const help::Topic* topic = file->FindByNumber(data);
  if (!topic) {
    CurrentComplaint()(owner, kCaption, NoSuchTopic(name));
    return;
  }
  ShowPopup(*topic);
}

}  // namespace ui_qt
