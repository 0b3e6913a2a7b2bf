#include "shell/Layout.h"

#include <stdexcept>

namespace shell {

using ui::Color;
using ui::Cursor;
using ui::Kind;

namespace {
constexpr Cursor kHand = Cursor::Hand;
constexpr Cursor kArrow = Cursor::Default;
constexpr Color kText = Color::WindowText;
}  // namespace

// name, kind, parent, text, hint, {left, top, width, height}, tab,
// tag, help context, cursor, font height, colour, flags, picture, image
const std::vector<ControlSpec> kMainFormLayout = {
    {"PageControl1", Kind::PageControl, "", "", "", {0, 0, 435, 255}, 0, 0, 2},
    {"TabClean", Kind::TabSheet, "PageControl1", "清理", "", {4, 28, 427, 223}, 0, 0, 3, kArrow, 0, kText, 0, "", 2},
    {"TabScan", Kind::TabSheet, "PageControl1", "扫描", "", {4, 28, 427, 223}, 1, 0, 3, kArrow, 0, kText, 0, "", 0},
    {"TabAbout", Kind::TabSheet, "PageControl1", "信息", "", {4, 28, 427, 223}, 2, 0, 0, kArrow, 0, kText, 0, "", 3},
    {"TabExit", Kind::TabSheet, "PageControl1", "退出(&E)", "", {4, 28, 427, 223}, 3, 0, 0, kArrow, 0, kText, 0, "", 4},

    // The Clean page.
    {"GroupBox1", Kind::GroupBox, "TabClean", "系统目录", "", {0, 0, 169, 125}, 0},
    {"CheckBox1", Kind::CheckBox, "GroupBox1", "Windows Temp 目录(&T)", "选择来清理 Windows TEMP 目录", {8, 20, 151, 17}, 0, 1, 0, kHand},
    {"CheckBox2", Kind::CheckBox, "GroupBox1", "最近文档(&D)", "选择来清理文档历史", {8, 39, 141, 17}, 1, 2, 0, kHand},
    {"CheckBox3", Kind::CheckBox, "GroupBox1", "因特网缓存(&I)", "选择来清理 IE 缓存", {8, 58, 141, 17}, 2, 3, 0, kHand},
    {"CheckBox4", Kind::CheckBox, "GroupBox1", "因特网历史(&H)", "选择来清理 IE 历史", {8, 77, 141, 17}, 3, 4, 0, kHand},
    {"CheckBox5", Kind::CheckBox, "GroupBox1", "因特网 Cookies(&C)", "选择来清理 IE cookies", {8, 96, 141, 17}, 4, 5, 0, kHand},
    {"lStatus", Kind::Label, "TabClean", "状态：", "", {0, 134, 0, 0}, -1, 0, 0, kArrow, 0, kText, kAutoSize},
    {"lprog", Kind::Label, "TabClean", "", "", {36, 134, 117, 13}, -1, 0, 0, kArrow, 13, Color::Green},
    {"ProgressBar1", Kind::ProgressBar, "TabClean", "", "", {0, 154, 169, 12}, 3},
    {"bCleanNow", Kind::Button, "TabClean", "现在清理", "清理选择的目录", {92, 176, 73, 23}, 2, 0, 0, kHand, 0, kText, kDefaultButton},
    {"CheckBoot", Kind::CheckBox, "TabClean", "在 Windows 启动时清理", "选择的话，在 Windows 启动时运行 Quillmoor", {0, 204, 159, 17}, 4, 0, 0, kHand},
    {"GroupBox2", Kind::GroupBox, "TabClean", "用户添加的目录", "", {174, 0, 253, 223}, 1},
    {"ListBox1", Kind::ListBox, "GroupBox2", "", "", {8, 15, 237, 166}, 1, 0, 0, kArrow, 0, kText, kSorted},
    {"ButtonBrowse", Kind::Button, "GroupBox2", " 添加(&A)", "浏览目录", {8, 189, 69, 23}, 0, 0, 0, kHand, 0, kText, 0, ":/images/button_browse.png"},
    {"ButtonRemove", Kind::Button, "GroupBox2", " 删除(&R) ", "从列表删除目录", {84, 189, 85, 23}, 2, 0, 0, kHand, 0, kText, 0, ":/images/button_remove.png"},
    {"ButtonSave", Kind::Button, "GroupBox2", " 保存(&S) ", "保存选项", {176, 189, 69, 23}, 3, 0, 0, kHand, 0, kText, 0, ":/images/button_save.png"},

    // The Scan page.
    {"Label5", Kind::Label, "TabScan", "驱动器：", "", {0, 0, 0, 0}, -1, 0, 0, kArrow, 0, kText, kAutoSize},
    {"Label7", Kind::Label, "TabScan", "文件类型：", "", {96, 0, 0, 0}, -1, 0, 0, kArrow, 0, kText, kAutoSize},
    {"cDisks", Kind::CheckListBox, "TabScan", "", "选择你要扫描的驱动器盘符", {0, 16, 81, 82}, 0},
    {"cExt", Kind::CheckListBox, "TabScan", "", "右击鼠标弹出菜单", {96, 16, 141, 82}, 1, 0, 0, kArrow, 13},
    {"bScan", Kind::Button, "TabScan", " 扫描 ", "扫描选择的文件类型", {264, 16, 70, 23}, 2, 0, 0, kHand, 0, kText, kDefaultButton},
    {"bDelete", Kind::Button, "TabScan", "删除", "删除选择的文件", {264, 48, 70, 23}, 4, 0, 0, kHand},
    {"bSelAll", Kind::Button, "TabScan", "全选", "选择全部文件来删除", {344, 16, 70, 23}, 5, 0, 0, kHand},
    {"bClearAll", Kind::Button, "TabScan", "全不选", "全部不选择", {344, 48, 70, 23}, 6, 0, 0, kHand},
    {"Label9", Kind::Label, "TabScan", "", "", {264, 80, 150, 13}, -1, 0, 0, kArrow, 0, kText, kHidden},
    {"ProgressBar2", Kind::ProgressBar, "TabScan", "", "", {264, 80, 149, 12}, 8, 0, 0, kArrow, 0, kText, kHidden},
    {"ListFiles", Kind::ListView, "TabScan", "", "", {0, 105, 427, 118}, 3},

    // The About page.
    {"Image1", Kind::Image, "TabAbout", "", "", {111, 12, 32, 32}, -1, 0, 0, kArrow, 0, kText, kAutoSize, ":/images/app32.png"},
    {"Label1", Kind::Label, "TabAbout", "Quillmoor", "", {159, 12, 0, 0}, -1, 0, 0, kArrow, 13, kText, kAutoSize},
    {"Label2", Kind::Label, "TabAbout", "v3.04", "", {295, 26, 0, 0}, -1, 0, 0, kArrow, 0, kText, kAutoSize},
    {"Bevel1", Kind::Bevel, "TabAbout", "", "", {63, 68, 300, 2}, -1},
    {"Button6", Kind::Button, "TabAbout", "帮助", "帮助", {290, 192, 75, 20}, 0, 0, 0, kHand, 0, kText, kDefaultButton},
    {"GroupBox3", Kind::GroupBox, "TabAbout", " 联系和更新 ", "", {42, 152, 239, 65}, 1},
    {"Label4", Kind::Label, "GroupBox3", "电子邮件：", "", {8, 20, 0, 0}, -1, 0, 0, kArrow, 0, kText, kAutoSize},
    {"lEmail", Kind::Label, "GroupBox3", "support@quillmoor.example", "点击来发送电子邮件给作者", {75, 20, 0, 0}, -1, 0, 0, kHand, 13, Color::Navy, kAutoSize},
    {"Label8", Kind::Label, "GroupBox3", "网址：", "", {8, 40, 0, 0}, -1, 0, 0, kArrow, 0, kText, kAutoSize},
    {"HTTP", Kind::Label, "GroupBox3", "https://www.quillmoor.example/", "访问 Quillmoor 主页获取更新", {46, 40, 0, 0}, -1, 0, 0, kHand, 13, Color::Navy, kAutoSize},

    {"StatusBar1", Kind::StatusBar, "", "", "", {0, 255, 435, 20}, -1, 0, 2},
};

const std::vector<ControlSpec> kAddExtLayout = {
    {"Panel1", Kind::Panel, "", "", "", {0, 0, 144, 65}, 0},
    {"Label1", Kind::Label, "Panel1", "输入新的文件类型(例如*.PIF)：", "", {2, 2, 140, 13}, -1, 0, 0, kArrow, 0, kText, kFitText},
    {"Edit1", Kind::Edit, "Panel1", "", "", {2, 18, 140, 21}, 0},
    {"Button1", Kind::Button, "Panel1", "确定", "", {2, 43, 140, 20}, 1, 0, 0, kArrow, 0, kText, kDefaultButton},
};

const std::vector<MenuSpec> kMainFormMenus = {
    {"PopupMenu1", "ListBox1", "Add1", "添加", 6, false},
    {"PopupMenu1", "ListBox1", "Remove1", "删除", 1, true},
    {"PopupMenu1", "ListBox1", "Save1", "保存", 5, false},
    {"PopupMenu2", "cExt", "select", "全选", -1, false},
    {"PopupMenu2", "cExt", "deselect", "全不选", -1, false},
    {"PopupMenu2", "cExt", "Add", "添加新文件类型", 0, false},
    {"PopupMenu2", "cExt", "Remove", "删除文件类型", 1, false},
};

const std::vector<ui::ListColumn> kResultColumns = {
    {"文件名称", 130, false},
    {"目录", 215, false},
    {"尺寸(KB)", 60, true},
};

const std::vector<ui::StatusPanel> kStatusPanels = {
    {300, false, ""},
    {50, true, ""},
};

const std::vector<const char*> kImageList = {
    ":/images/list0.png", ":/images/list1.png", ":/images/list2.png", ":/images/list3.png",
    ":/images/list4.png", ":/images/list5.png", ":/images/list6.png",
};

const std::vector<const char*> kDefaultMasks = {
    "*.BAK", "*.TMP", "*.OLD", "*.~*", "~*.*", "*.$$$", "*.---", "*.GID", "*.FTG", "*.FTS",
    "*.FND", "*.CHK", "*.DMP", "*.NCH", "*.DA0", "*.$DB", "*.DB$", "FILE_ID.DIZ", "ANTI-VIR.DAT",
};

namespace {

ui::Control* Make(ui::Form& form, ui::Kind kind, const std::string& name, ui::Control* parent) {
  switch (kind) {
    case Kind::PageControl: {
      auto* pages = form.Make<ui::PageControl>(name, parent);
      if (!form.pages) form.pages = pages;
      return pages;
    }
    case Kind::TabSheet: return form.Make<ui::TabSheet>(name, parent);
    case Kind::CheckBox: return form.Make<ui::CheckBox>(name, parent);
    case Kind::Button: return form.Make<ui::Button>(name, parent);
    case Kind::ListBox: return form.Make<ui::ListBox>(name, parent);
    case Kind::CheckListBox: return form.Make<ui::CheckListBox>(name, parent);
    case Kind::ListView: return form.Make<ui::ListView>(name, parent);
    case Kind::ProgressBar: return form.Make<ui::ProgressBar>(name, parent);
    case Kind::StatusBar: {
      auto* bar = form.Make<ui::StatusBar>(name, parent);
      if (!form.hint_bar) form.hint_bar = bar;
      return bar;
    }
    case Kind::Edit: return form.Make<ui::Edit>(name, parent);
    default: return form.MakePlain(kind, name, parent);
  }
}

}  // namespace

void BuildControls(ui::Form& form, const std::vector<ControlSpec>& layout) {
  for (const ControlSpec& row : layout) {
    ui::Control* parent = nullptr;
    if (*row.parent) {
      parent = form.Find(row.parent);
      if (!parent) throw std::logic_error(std::string("layout: unknown parent ") + row.parent);
    }
    ui::Control* c = Make(form, row.kind, row.name, parent);
    c->SetText(row.text);
    c->SetHint(row.hint);
    c->bounds = row.rect;
    c->tab_order = row.tab_order;
    c->tag = row.tag;
    c->help_context = row.help_context;
    c->cursor = row.cursor;
    c->picture = row.picture;
    c->auto_size = row.flags & kAutoSize;
    c->fit_text = row.flags & kFitText;
    ui::Font font = c->font();
    if (row.font_height) font.height = row.font_height;
    font.color = row.color;
    c->SetFont(font);
    if (row.flags & kHidden) c->SetVisible(false);
    if (row.kind == Kind::Button) static_cast<ui::Button*>(c)->is_default = row.flags & kDefaultButton;
    if (row.kind == Kind::ListBox) static_cast<ui::ListBox*>(c)->sorted = row.flags & kSorted;
    if (row.kind == Kind::TabSheet) static_cast<ui::TabSheet*>(c)->image_index = row.image_index;
  }
}

}  // namespace shell
