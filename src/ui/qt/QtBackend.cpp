#include "ui/qt/QtBackend.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QTreeView>
#include <QWindow>
#include <iostream>

#include "ui/qt/HelpBridge.h"

namespace ui_qt {
namespace {

QtBackend* g_backend = nullptr;
const char* const kControlProperty = "quillmoor_control";

// The system's hover time before a resting pointer selects a list row.
constexpr int kHoverMilliseconds = 400;

QColor ToQColor(ui::Color color) {
  switch (color) {
    case ui::Color::Green: return QColor(0, 128, 0);
    case ui::Color::Maroon: return QColor(128, 0, 0);
    case ui::Color::Navy: return QColor(0, 0, 128);
    case ui::Color::ButtonFace: return QApplication::palette().color(QPalette::Button);
    case ui::Color::WindowText: break;
  }
  return QApplication::palette().color(QPalette::WindowText);
}

QString Q(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A label that reports clicks, for the two link labels.
class ClickLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> on_click;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && on_click) on_click();
    QLabel::mouseReleaseEvent(event);
  }
};

// The page control: a row of flat tabs above a stack of pages.
class PagesWidget : public QWidget {
 public:
  explicit PagesWidget(QWidget* parent) : QWidget(parent), tabs(new QTabBar(this)), stack(new QStackedWidget(this)) {
    tabs->setDocumentMode(true);
    tabs->setDrawBase(false);
    tabs->setExpanding(false);
    tabs->setIconSize(QSize(16, 16));
    tabs->setFocusPolicy(Qt::TabFocus);
    tabs->setStyleSheet(
        "QTabBar::tab { border: 1px solid transparent; padding: 2px 6px; margin: 1px; }"
        "QTabBar::tab:hover { border: 1px solid palette(mid); background: palette(light); }"
        "QTabBar::tab:selected { border: 1px solid palette(dark); background: palette(midlight); }");
  }
  QTabBar* tabs;
  QStackedWidget* stack;
};

// The status bar: panels of fixed width drawn as sunken boxes.
class StatusWidget : public QWidget {
 public:
  explicit StatusWidget(QWidget* parent) : QWidget(parent) {}
  std::vector<QLabel*> panels;
};

// The results list's rows as a table model over the control's own rows:
// only what is on screen is ever asked for.
class RowsModel : public QAbstractTableModel {
 public:
  explicit RowsModel(ui::ListView& list, QObject* parent) : QAbstractTableModel(parent), list_(list) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(list_.RowCount());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(list_.columns.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || static_cast<size_t>(index.row()) >= list_.RowCount()) return {};
    const ui::ListRow& row = list_.Row(static_cast<size_t>(index.row()));
    size_t column = static_cast<size_t>(index.column());
    if (role == Qt::DisplayRole) {
      if (column == 0) return Q(row.caption);
      return column - 1 < row.subitems.size() ? Q(row.subitems[column - 1]) : QString();
    }
    if (role == Qt::CheckStateRole && column == 0) return row.checked ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::TextAlignmentRole && column < list_.columns.size() && list_.columns[column].right_aligned)
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
  }
  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (role != Qt::CheckStateRole || index.column() != 0) return false;
    size_t row = static_cast<size_t>(index.row());
    bool checked = value.toInt() == Qt::Checked;
    Backend().Dispatch([&] { list_.SetChecked(row, checked); });
    return true;
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0) f |= Qt::ItemIsUserCheckable;
    return f;
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || section < 0 || static_cast<size_t>(section) >= list_.columns.size()) return {};
    if (role == Qt::DisplayRole) return Q(list_.columns[static_cast<size_t>(section)].header);
    if (role == Qt::TextAlignmentRole && list_.columns[static_cast<size_t>(section)].right_aligned)
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
  }

  void BeginInsert(int first, int count) { beginInsertRows({}, first, first + count - 1); }
  void EndInsert() { endInsertRows(); }
  void BeginReset() { beginResetModel(); }
  void EndReset() { endResetModel(); }
  void Updated(int first, int last) {
    emit dataChanged(index(first, 0), index(last, columnCount({}) - 1), {Qt::CheckStateRole});
  }

 private:
  ui::ListView& list_;
};

void SetItems(QListWidget* list, const ui::ListBox& box, bool checkable) {
  QSignalBlocker block(list);
  list->clear();
  for (size_t i = 0; i < box.items().size(); ++i) {
    auto* item = new QListWidgetItem(Q(box.items()[i]), list);
    if (checkable) {
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(static_cast<const ui::CheckListBox&>(box).Checked(i) ? Qt::Checked : Qt::Unchecked);
    }
  }
  list->setCurrentRow(box.item_index());
}

}  // namespace

// Keeps one widget in step with its control.
class WidgetPeer : public ui::ListViewPeer {
 public:
  WidgetPeer(ui::Control& control, QWidget* widget) : control_(control), widget_(widget) {}

  void Changed(ui::Change what) override {
    if (!widget_) return;
    switch (what) {
      case ui::Change::Text: ApplyText(); break;
      case ui::Change::Hint: widget_->setToolTip(Q(control_.hint())); break;
      case ui::Change::Enabled: widget_->setEnabled(control_.enabled()); break;
      case ui::Change::Visible:
        if (control_.kind() != ui::Kind::TabSheet) widget_->setVisible(control_.visible());
        break;
      case ui::Change::Font: ApplyFont(); break;
      case ui::Change::Checked: ApplyChecked(); break;
      case ui::Change::Items:
        if (auto* list = qobject_cast<QListWidget*>(widget_))
          SetItems(list, static_cast<ui::ListBox&>(control_), control_.kind() == ui::Kind::CheckListBox);
        break;
      case ui::Change::ItemIndex: ApplyItemIndex(); break;
      case ui::Change::Position:
        if (auto* bar = qobject_cast<QProgressBar*>(widget_)) {
          auto& p = static_cast<ui::ProgressBar&>(control_);
          bar->setRange(p.min(), p.max());
          bar->setValue(p.position());
        }
        break;
      case ui::Change::Panels: ApplyPanels(); break;
      case ui::Change::ActivePage: {
        auto* pages = static_cast<PagesWidget*>(widget_.data());
        int index = static_cast<ui::PageControl&>(control_).active_index();
        QSignalBlocker block(pages->tabs);
        pages->tabs->setCurrentIndex(index);
        pages->stack->setCurrentIndex(index);
        break;
      }
    }
  }

  void RepaintNow() override {
    if (!widget_) return;
    widget_->repaint();
    if (auto* status = dynamic_cast<StatusWidget*>(widget_.data()))
      for (QLabel* panel : status->panels) panel->repaint();
  }

  void BeginInsertRows(size_t first, size_t count) override {
    if (model) model->BeginInsert(static_cast<int>(first), static_cast<int>(count));
  }
  void EndInsertRows() override {
    if (model) model->EndInsert();
  }
  void BeginResetRows() override {
    if (!model) return;
    auto* view = qobject_cast<QTreeView*>(widget_);
    saved_scroll_ = view ? view->verticalScrollBar()->value() : 0;
    model->BeginReset();
  }
  void EndResetRows() override {
    if (!model) return;
    model->EndReset();
    if (auto* view = qobject_cast<QTreeView*>(widget_)) {
      view->verticalScrollBar()->setValue(saved_scroll_);
      ApplyItemIndex();
    }
  }
  void RowsUpdated(size_t first, size_t last) override {
    if (model) model->Updated(static_cast<int>(first), static_cast<int>(last));
  }

  void ApplyText() {
    QString text = Q(control_.text());
    if (auto* label = qobject_cast<QLabel*>(widget_)) {
      if (control_.kind() == ui::Kind::Label) label->setText(text);
      if (control_.fit_text) ApplyFont();
      if (control_.auto_size) label->adjustSize();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget_)) {
      button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget_)) {
      group->setTitle(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget_)) {
      if (edit->text() != text) edit->setText(text);
    } else if (control_.kind() == ui::Kind::TabSheet) {
      if (tabs) tabs->setTabText(tab_index, text);
    } else if (control_.kind() == ui::Kind::Form) {
      widget_->setWindowTitle(text);
    }
  }

  void ApplyFont() {
    QFont font = LayoutFont(control_.font());
    if (control_.fit_text) font = FittedFont(font);
    widget_->setFont(font);
    if (control_.kind() == ui::Kind::Label) {
      QPalette palette = widget_->palette();
      palette.setColor(QPalette::WindowText, ToQColor(control_.font().color));
      widget_->setPalette(palette);
      if (control_.auto_size) static_cast<QLabel*>(widget_.data())->adjustSize();
    }
  }

  // A fixed-size label whose text the installed font draws wider than the
  // place the layout gives it is drawn condensed, so no text is cut.
  QFont FittedFont(QFont font) const {
    QString text = Q(control_.text());
    int room = control_.bounds.width;
    int width = QFontMetrics(font).horizontalAdvance(text);
    if (text.isEmpty() || room <= 0 || width <= room) return font;
    font.setStretch(std::max(70, room * 100 / width));
    return font;
  }

  void ApplyChecked() {
    if (auto* box = qobject_cast<QCheckBox*>(widget_)) {
      QSignalBlocker block(box);
      box->setChecked(static_cast<ui::CheckBox&>(control_).checked());
    } else if (auto* list = qobject_cast<QListWidget*>(widget_)) {
      auto& checks = static_cast<ui::CheckListBox&>(control_);
      QSignalBlocker block(list);
      for (int i = 0; i < list->count() && static_cast<size_t>(i) < checks.Count(); ++i)
        list->item(i)->setCheckState(checks.Checked(static_cast<size_t>(i)) ? Qt::Checked : Qt::Unchecked);
    }
  }

  void ApplyItemIndex() {
    if (auto* list = qobject_cast<QListWidget*>(widget_)) {
      QSignalBlocker block(list);
      list->setCurrentRow(static_cast<ui::ListBox&>(control_).item_index());
    } else if (auto* view = qobject_cast<QTreeView*>(widget_)) {
      int row = static_cast<ui::ListView&>(control_).selected();
      QSignalBlocker block(view->selectionModel());
      if (row < 0)
        view->selectionModel()->clearSelection();
      else
        view->selectionModel()->setCurrentIndex(view->model()->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
      view->viewport()->update();
    }
  }

  void ApplyPanels() {
    auto* status = static_cast<StatusWidget*>(widget_.data());
    const auto& panels = static_cast<ui::StatusBar&>(control_).panels();
    for (size_t i = 0; i < panels.size() && i < status->panels.size(); ++i) status->panels[i]->setText(Q(panels[i].text));
  }

  RowsModel* model = nullptr;
  QTabBar* tabs = nullptr;
  int tab_index = -1;

 private:
  ui::Control& control_;
  QPointer<QWidget> widget_;
  int saved_scroll_ = 0;
};

QFont LayoutFont(const ui::Font& font) {
  QFont f;
  // The layout's font first; where it is not installed, the CJK fonts a
  // Linux desktop commonly has.
  f.setFamilies({Q(font.name), "SimSun", "NSimSun", "WenQuanYi Zen Hei", "WenQuanYi Micro Hei", "Noto Sans CJK SC"});
  f.setPixelSize(font.height);
  f.setStyleStrategy(QFont::PreferDefault);
  return f;
}

QtBackend& Backend() { return *g_backend; }

QtBackend::QtBackend() {
  g_backend = this;
  qApp->installEventFilter(this);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (!now) return;
    Window* window = WindowOf(now);
    if (window) window->form->SetFocus(ControlOf(now));
  });
  hint_timer_ = new QTimer(this);
  hint_timer_->setInterval(100);
  connect(hint_timer_, &QTimer::timeout, this, [this] { UpdateHintUnderPointer(); });
  hint_timer_->start();
}

QtBackend::~QtBackend() {
  qApp->removeEventFilter(this);
  for (auto& window : windows_)
    for (auto& peer : window->peers) peer.reset();
  g_backend = nullptr;
}

QWidget* QtBackend::WidgetOf(const ui::Control* control) const {
  for (const auto& window : windows_) {
    auto it = window->widgets.find(control);
    if (it != window->widgets.end()) return it->second;
  }
  return nullptr;
}

ui::Control* QtBackend::ControlOf(QWidget* widget) const {
  for (QWidget* w = widget; w; w = w->parentWidget()) {
    QVariant v = w->property(kControlProperty);
    if (v.isValid()) return reinterpret_cast<ui::Control*>(v.value<quintptr>());
  }
  return nullptr;
}

QtBackend::Window* QtBackend::WindowOf(QWidget* widget) {
  if (!widget) return nullptr;
  QWidget* top = widget->window();
  for (auto& window : windows_)
    if (window->top == top) return window.get();
  return nullptr;
}

QWidget* QtBackend::Realize(ui::Form& form) {
  for (auto& window : windows_)
    if (window->form == &form) return window->top;
  return Build(form, false).top;
}

QtBackend::Window& QtBackend::Build(ui::Form& form, bool as_dialog) {
  auto window = std::make_unique<Window>();
  window->form = &form;
  QWidget* top = nullptr;
  if (as_dialog) {
    auto* dialog = new QDialog(nullptr, form.bordered ? Qt::Dialog : (Qt::Dialog | Qt::FramelessWindowHint));
    dialog->setModal(true);
    top = dialog;
  } else {
    top = new QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);
  }
  top->setWindowTitle(Q(form.text()));
  top->setFixedSize(form.client_width, form.client_height);
  top->setFont(LayoutFont(form.font()));
  top->setProperty(kControlProperty, QVariant::fromValue(reinterpret_cast<quintptr>(&form)));
  QIcon icon(":/images/app32.png");
  icon.addFile(":/images/app16.png");
  top->setWindowIcon(icon);
  window->top = top;
  window->widgets[&form] = top;
  auto peer = std::make_unique<WidgetPeer>(form, top);
  form.SetPeer(peer.get());
  window->peers.push_back(std::move(peer));
  for (ui::Control* child : form.children()) BuildControl(*window, *child, top);
  BuildTabOrder(*window);
  windows_.push_back(std::move(window));
  return *windows_.back();
}

QWidget* QtBackend::BuildControl(Window& window, ui::Control& control, QWidget* parent) {
  ui::Form& form = *window.form;
  QWidget* widget = nullptr;
  QWidget* children_parent = nullptr;
  WidgetPeer* peer_raw = nullptr;
  auto make_peer = [&](QWidget* w) {
    auto peer = std::make_unique<WidgetPeer>(control, w);
    peer_raw = peer.get();
    window.peers.push_back(std::move(peer));
  };

  switch (control.kind()) {
    case ui::Kind::PageControl: {
      auto* pages = new PagesWidget(parent);
      auto& pc = static_cast<ui::PageControl&>(control);
      widget = pages;
      make_peer(pages);
      control.SetPeer(peer_raw);
      pages->tabs->setGeometry(2, 2, control.bounds.width - 4, 24);
      int index = 0;
      for (ui::TabSheet* page : pc.pages()) {
        QIcon icon;
        if (page->image_index >= 0 && static_cast<size_t>(page->image_index) < form.image_list.size())
          icon = QIcon(Q(form.image_list[static_cast<size_t>(page->image_index)]));
        pages->tabs->addTab(icon, Q(page->text()));
        auto* page_widget = new QWidget(pages->stack);
        page_widget->setProperty(kControlProperty, QVariant::fromValue(reinterpret_cast<quintptr>(page)));
        pages->stack->addWidget(page_widget);
        pages->stack->setGeometry(page->bounds.left, page->bounds.top, page->bounds.width, page->bounds.height);
        window.widgets[page] = page_widget;
        auto page_peer = std::make_unique<WidgetPeer>(*page, page_widget);
        page_peer->tabs = pages->tabs;
        page_peer->tab_index = index++;
        page->SetPeer(page_peer.get());
        window.peers.push_back(std::move(page_peer));
        for (ui::Control* child : page->children()) BuildControl(window, *child, page_widget);
      }
      pages->tabs->setCurrentIndex(pc.active_index());
      pages->stack->setCurrentIndex(pc.active_index());
      connect(pages->tabs, &QTabBar::currentChanged, this, [this, &pc, pages](int index) {
        Dispatch([&] { pc.SetActiveIndex(index); });
        // The page shown follows the control, whatever the handler did.
        QSignalBlocker block(pages->tabs);
        pages->tabs->setCurrentIndex(pc.active_index());
        pages->stack->setCurrentIndex(pc.active_index());
      });
      break;
    }
    case ui::Kind::GroupBox: {
      auto* group = new QGroupBox(Q(control.text()), parent);
      // The caption sits on the frame's top line; children are placed from
      // the box's own top-left corner.
      group->setStyleSheet(
          "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
          "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 7px; padding: 0 1px; }");
      widget = children_parent = group;
      break;
    }
    case ui::Kind::Panel: {
      auto* frame = new QFrame(parent);
      frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
      frame->setLineWidth(2);
      widget = children_parent = frame;
      break;
    }
    case ui::Kind::CheckBox: {
      auto* box = new QCheckBox(Q(control.text()), parent);
      auto& cb = static_cast<ui::CheckBox&>(control);
      box->setChecked(cb.checked());
      connect(box, &QCheckBox::clicked, this, [this, &cb](bool checked) { Dispatch([&] { cb.SetChecked(checked); }); });
      widget = box;
      break;
    }
    case ui::Kind::Button: {
      auto* button = new QPushButton(Q(control.text()), parent);
      if (!control.picture.empty()) {
        button->setIcon(QIcon(Q(control.picture)));
        button->setIconSize(QSize(16, 16));
      }
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, [this, &control] { Dispatch([&] { control.Click(); }); });
      widget = button;
      break;
    }
    case ui::Kind::Label: {
      auto* label = new ClickLabel(Q(control.text()), parent);
      label->on_click = [this, &control] { Dispatch([&] { control.Click(); }); };
      label->setTextFormat(Qt::PlainText);
      if (!control.auto_size) label->setWordWrap(false);
      widget = label;
      break;
    }
    case ui::Kind::Image: {
      auto* label = new QLabel(parent);
      label->setPixmap(QPixmap(Q(control.picture)));
      widget = label;
      break;
    }
    case ui::Kind::Bevel: {
      auto* line = new QFrame(parent);
      line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
      widget = line;
      break;
    }
    case ui::Kind::ProgressBar: {
      auto* bar = new QProgressBar(parent);
      auto& p = static_cast<ui::ProgressBar&>(control);
      bar->setRange(p.min(), p.max());
      bar->setValue(p.position());
      bar->setTextVisible(false);
      widget = bar;
      break;
    }
    case ui::Kind::StatusBar: {
      auto* status = new StatusWidget(parent);
      auto& sb = static_cast<ui::StatusBar&>(control);
      int x = 0;
      for (const ui::StatusPanel& panel : sb.panels()) {
        auto* label = new QLabel(Q(panel.text), status);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment((panel.right_aligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        label->setGeometry(x, 2, panel.width - 2, control.bounds.height - 2);
        label->setTextFormat(Qt::PlainText);
        x += panel.width;
        status->panels.push_back(label);
      }
      widget = status;
      break;
    }
    case ui::Kind::ListBox:
    case ui::Kind::CheckListBox: {
      auto* list = new QListWidget(parent);
      auto& box = static_cast<ui::ListBox&>(control);
      bool checkable = control.kind() == ui::Kind::CheckListBox;
      list->setUniformItemSizes(true);
      list->setStyleSheet(QString("QListWidget::item { height: %1px; padding: 0px; }").arg(box.item_height));
      SetItems(list, box, checkable);
      connect(list, &QListWidget::currentRowChanged, this,
              [this, &box](int row) { Dispatch([&] { box.SelectByUser(row); }); });
      connect(list, &QListWidget::itemDoubleClicked, this, [this, &box] { Dispatch([&] { box.DoubleClick(); }); });
      if (checkable) {
        connect(list, &QListWidget::itemChanged, this, [this, &box, list](QListWidgetItem* item) {
          int row = list->row(item);
          bool checked = item->checkState() == Qt::Checked;
          auto& checks = static_cast<ui::CheckListBox&>(box);
          if (row >= 0 && static_cast<size_t>(row) < checks.Count())
            Dispatch([&] { checks.SetChecked(static_cast<size_t>(row), checked); });
        });
      }
      if (control.popup_menu) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        // A right click opens the menu without moving the selection.
        list->viewport()->installEventFilter(this);
        connect(list, &QWidget::customContextMenuRequested, this, [this, &control, &form, list](const QPoint& at) {
          ShowPopup(*control.popup_menu, form, list->viewport()->mapToGlobal(at));
        });
      }
      widget = list;
      break;
    }
    case ui::Kind::ListView: {
      auto& lv = static_cast<ui::ListView&>(control);
      auto* view = new QTreeView(parent);
      auto* model = new RowsModel(lv, view);
      view->setModel(model);
      view->setRootIsDecorated(false);
      view->setUniformRowHeights(true);
      view->setItemsExpandable(false);
      view->setAllColumnsShowFocus(true);
      view->setSelectionMode(QAbstractItemView::SingleSelection);
      view->setSelectionBehavior(QAbstractItemView::SelectRows);
      view->setEditTriggers(QAbstractItemView::NoEditTriggers);
      view->setMouseTracking(true);
      view->header()->setSectionsClickable(false);
      view->header()->setStretchLastSection(false);
      for (size_t i = 0; i < lv.columns.size(); ++i) view->setColumnWidth(static_cast<int>(i), lv.columns[i].width);
      make_peer(view);
      peer_raw->model = model;
      lv.SetListPeer(peer_raw);
      auto* hover = new QTimer(view);
      hover->setSingleShot(true);
      hover->setInterval(kHoverMilliseconds);
      auto hovered_row = std::make_shared<int>(-1);
      connect(view, &QAbstractItemView::entered, this, [hover, hovered_row](const QModelIndex& index) {
        *hovered_row = index.row();
        hover->start();
      });
      connect(hover, &QTimer::timeout, this, [this, &lv, view, hovered_row] {
        if (!view->viewport()->underMouse()) return;
        Dispatch([&] { lv.SelectByUser(*hovered_row); });
      });
      connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, &lv, view] {
        auto rows = view->selectionModel()->selectedRows();
        int row = rows.isEmpty() ? -1 : rows.front().row();
        Dispatch([&] { lv.SelectByUser(row); });
      });
      widget = view;
      break;
    }
    case ui::Kind::Edit: {
      auto* edit = new QLineEdit(Q(control.text()), parent);
      connect(edit, &QLineEdit::textEdited, this,
              [&control](const QString& text) { control.SetText(text.toUtf8().toStdString()); });
      widget = edit;
      break;
    }
    case ui::Kind::TabSheet:
    case ui::Kind::Form:
      return nullptr;
  }

  widget->setProperty(kControlProperty, QVariant::fromValue(reinterpret_cast<quintptr>(&control)));
  widget->setGeometry(control.bounds.left, control.bounds.top, control.bounds.width, control.bounds.height);
  widget->setFont(LayoutFont(control.font()));
  widget->setToolTip(Q(control.hint()));
  // Every control takes part in the what's-this mode; the request is
  // answered from the help contexts.
  widget->setWhatsThis(" ");
  if (control.cursor == ui::Cursor::Hand) widget->setCursor(Qt::PointingHandCursor);
  widget->setEnabled(control.enabled());
  widget->setVisible(control.visible());
  window.widgets[&control] = widget;
  if (!peer_raw) make_peer(widget);
  if (control.kind() != ui::Kind::ListView && control.kind() != ui::Kind::PageControl) control.SetPeer(peer_raw);
  peer_raw->ApplyFont();
  if (control.auto_size) {
    if (auto* label = qobject_cast<QLabel*>(widget)) label->adjustSize();
  }
  if (children_parent)
    for (ui::Control* child : control.children()) BuildControl(window, *child, children_parent);
  return widget;
}

void QtBackend::BuildTabOrder(Window& window) {
  // Depth first through the containers, each one's children in their
  // keyboard order, chained into one focus order.
  std::vector<QWidget*> chain;
  std::function<void(ui::Control&)> walk = [&](ui::Control& container) {
    std::vector<ui::Control*> kids = container.children();
    std::stable_sort(kids.begin(), kids.end(),
                     [](const ui::Control* a, const ui::Control* b) { return a->tab_order < b->tab_order; });
    for (ui::Control* kid : kids) {
      if (kid->tab_order < 0 && kid->kind() != ui::Kind::TabSheet) continue;
      auto it = window.widgets.find(kid);
      if (it == window.widgets.end()) continue;
      QWidget* w = it->second;
      if (auto* pages = dynamic_cast<PagesWidget*>(w)) chain.push_back(pages->tabs);
      else if (w->focusPolicy() != Qt::NoFocus) chain.push_back(w);
      walk(*kid);
    }
  };
  walk(*window.form);
  for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void QtBackend::CentreOnScreen(QWidget* top) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect area = screen->availableGeometry();
  QSize frame = top->frameGeometry().size();
  if (frame.width() < top->width()) frame = top->size();
  top->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

void QtBackend::ShowMain(ui::Form& form) {
  QWidget* top = Realize(form);
  CentreOnScreen(top);
  for (auto& window : windows_)
    if (window->form == &form) window->shown_once = true;
  // The show event runs before any message is handled.
  Dispatch([&] {
    if (form.on_show) form.on_show(form);
  });
  top->show();
}

void QtBackend::ShowMinimized(ui::Form& form) {
  QWidget* top = Realize(form);
  CentreOnScreen(top);
  top->showMinimized();
}

int QtBackend::RunLoop() {
  if (ui::App().terminated()) return 0;
  return QApplication::exec();
}

void QtBackend::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtBackend::MessageBox(const std::string& text, const std::string& caption, ui::BoxIcon icon) {
  if (icon == ui::BoxIcon::Stop) ++error_boxes;
  if (boxes_to_stderr) {
    std::cerr << caption << ": " << text << std::endl;
    return;
  }
  QMessageBox::Icon qicon = icon == ui::BoxIcon::Information ? QMessageBox::Information : QMessageBox::Critical;
  QWidget* owner = QApplication::activeWindow();
  QMessageBox box(qicon, Q(caption), Q(text), QMessageBox::Ok, owner);
  box.button(QMessageBox::Ok)->setText("确定");
  box.exec();
}

int QtBackend::ShowModal(ui::Form& form) {
  Window* window = nullptr;
  for (auto& w : windows_)
    if (w->form == &form) window = w.get();
  if (!window) window = &Build(form, true);
  auto* dialog = static_cast<QDialog*>(window->top);
  form.SetModalResult(ui::kModalNone);
  form.Reopen();
  form.in_modal = true;
  CentreOnScreen(dialog);
  modal_stack_.push_back(dialog);
  if (ui::Control* first = form.focused())
    if (QWidget* w = WidgetOf(first)) w->setFocus();
  if (on_modal_shown_for_tests) {
    QTimer::singleShot(0, dialog, [this, dialog] {
      on_modal_shown_for_tests(dialog);
      AfterEvent();
    });
  }
  dialog->exec();
  modal_stack_.pop_back();
  form.in_modal = false;
  if (form.modal_result() == ui::kModalNone) form.SetModalResult(ui::kModalCancel);
  return form.modal_result();
}

void QtBackend::AfterEvent() {
  if (modal_stack_.empty()) return;
  QDialog* dialog = modal_stack_.back();
  Window* window = WindowOf(dialog);
  if (window && window->form->closed()) dialog->done(window->form->modal_result());
}

std::optional<std::string> QtBackend::BrowseForFolder(const std::string& title) {
  QString folder = QFileDialog::getExistingDirectory(QApplication::activeWindow(), Q(title), QString(),
                                                     QFileDialog::ShowDirsOnly);
  if (folder.isEmpty()) return std::nullopt;
  return folder.toUtf8().toStdString();
}

void QtBackend::Help(const std::string& help_file, unsigned command, uint32_t data) {
  RunHelpCommand(QApplication::activeWindow(), help_file, command, data);
}

void QtBackend::ScreenOrigin(const ui::Control& control, int& x, int& y) {
  QWidget* widget = WidgetOf(&control);
  QPoint p = widget ? widget->mapToGlobal(widget->contentsRect().topLeft()) : QPoint();
  x = p.x();
  y = p.y();
}

void QtBackend::Minimize() {
  if (ui::App().main_form)
    if (QWidget* top = WidgetOf(ui::App().main_form)) top->showMinimized();
}

void QtBackend::Terminate() {
  // Posted: the loop ends when it reads the request, after whatever runs now.
  QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void QtBackend::UpdateHintUnderPointer() {
  ui::Form* main = ui::App().main_form;
  if (!main) return;
  QWidget* top = WidgetOf(main);
  if (!top || !top->isVisible()) return;
  QWidget* under = QApplication::widgetAt(QCursor::pos());
  if (under && under->window() != top) return;
  main->IdleHint(under ? ControlOf(under) : nullptr);
}

void QtBackend::ShowPopup(ui::PopupMenu& menu, ui::Form& form, const QPoint& global) {
  QMenu qmenu;
  qmenu.setFont(LayoutFont(form.font()));
  for (ui::MenuItem& item : menu.items) {
    QIcon icon;
    if (item.image_index >= 0 && static_cast<size_t>(item.image_index) < form.image_list.size())
      icon = QIcon(Q(form.image_list[static_cast<size_t>(item.image_index)]));
    QAction* action = qmenu.addAction(icon, Q(item.caption));
    if (item.is_default) {
      QFont bold = qmenu.font();
      bold.setBold(true);
      action->setFont(bold);
    }
    connect(action, &QAction::triggered, this, [this, &item] {
      Dispatch([&] {
        if (item.on_click) item.on_click();
      });
    });
  }
  qmenu.exec(global);
}

bool QtBackend::HandleKey(Window& window, QKeyEvent* key) {
  ui::Form& form = *window.form;
  Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
  bool used = false;
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (mods == Qt::NoModifier) Dispatch([&] { used = form.HandleEnter(); });
      return used;
    case Qt::Key_Escape:
      // Dialogs without a cancel button ignore Esc.
      return window.top->inherits("QDialog");
    case Qt::Key_F1:
      if (ui::Control* c = form.focused()) Dispatch([&] { ui::App().ContextHelp(*c); });
      return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (mods & Qt::ControlModifier) {
        bool forward = key->key() == Qt::Key_Tab && !(mods & Qt::ShiftModifier);
        Dispatch([&] { used = form.HandlePageCycle(forward); });
        return used;
      }
      return false;
    default:
      break;
  }
  QString text = key->text();
  if (mods == Qt::NoModifier && text.size() == 1 && text[0].isLetter() && text[0].unicode() < 128) {
    char letter = static_cast<char>(text[0].toUpper().unicode());
    Dispatch([&] { used = form.HandleAccelerator(letter, false); });
    return used;
  }
  return false;
}

bool QtBackend::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::KeyPress: {
      // A key the focus widget ignores travels on to its parents; it is
      // looked at once, where it first arrives.
      auto* key = static_cast<QKeyEvent*>(event);
      if (!widget) break;
      bool travelling = key == last_key_ && last_key_widget_ && widget != last_key_widget_ &&
                        widget->isAncestorOf(last_key_widget_);
      last_key_ = key;
      last_key_widget_ = widget;
      if (travelling) break;
      Window* window = WindowOf(widget);
      if (window && HandleKey(*window, key)) return true;
      break;
    }
    case QEvent::WhatsThis: {
      ui::Control* control = ControlOf(widget);
      if (control && WindowOf(widget)) {
        Dispatch([&] { ui::App().ContextHelp(*control); });
        return true;
      }
      break;
    }
    case QEvent::MouseButtonPress:
      // A right click in a list with a pop-up menu opens the menu (through
      // the context-menu event that follows) without moving the selection.
      if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && widget &&
          qobject_cast<QListWidget*>(widget->parentWidget()))
        return true;
      break;
    case QEvent::Enter:
      if (widget && WindowOf(widget)) UpdateHintUnderPointer();
      break;
    case QEvent::Close: {
      Window* window = widget && widget->isWindow() ? WindowOf(widget) : nullptr;
      if (!window) break;
      if (!modal_stack_.empty() && window->top == modal_stack_.back()) {
        // Alt+F4 on the dialog: cancelled.
        window->form->Close();
        AfterEvent();
        return true;
      }
      // Closing the main window ends the program once control is back in
      // the message loop; the window stays until then.
      static_cast<QCloseEvent*>(event)->ignore();
      Dispatch([&] { window->form->Close(); });
      return true;
    }
    case QEvent::WindowStateChange: {
      Window* window = widget && widget->isWindow() ? WindowOf(widget) : nullptr;
      if (window && !window->shown_once && !(widget->windowState() & Qt::WindowMinimized) && widget->isVisible()) {
        // Restored from a minimised start: the window is shown for the
        // first time now.
        window->shown_once = true;
        window->form->window_state = ui::WindowState::Normal;
        Dispatch([&] {
          if (window->form->on_show) window->form->on_show(*window->form);
        });
      }
      break;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace ui_qt
