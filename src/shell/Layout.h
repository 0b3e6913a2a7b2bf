#pragma once
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Form.h"

namespace shell {

// One control of a window as data: the window is built from these rows,
// so the whole interface (texts, hints, places, keyboard order, fonts,
// colours, cursors, tags and help contexts) reads in one place.
struct ControlSpec {
  const char* name;
  ui::Kind kind;
  const char* parent;  // "" for the window itself
  const char* text;
  const char* hint;
  ui::Rect rect;
  int tab_order;
  int tag = 0;
  int help_context = 0;
  ui::Cursor cursor = ui::Cursor::Default;
  int font_height = 0;  // 0: the window's font
  ui::Color color = ui::Color::WindowText;
  unsigned flags = 0;
  const char* picture = "";
  int image_index = -1;  // pages: their picture in the image list
};

enum SpecFlags : unsigned {
  kDefaultButton = 1u << 0,
  kAutoSize = 1u << 1,
  kHidden = 1u << 2,
  kSorted = 1u << 3,
  kFitText = 1u << 4,  // drawn condensed where the font would not fit the place
};

struct MenuSpec {
  const char* menu;
  const char* attached_to;
  const char* item;
  const char* caption;
  int image_index;
  bool is_default;
};

extern const std::vector<ControlSpec> kMainFormLayout;
extern const std::vector<ControlSpec> kAddExtLayout;
extern const std::vector<MenuSpec> kMainFormMenus;
extern const std::vector<ui::ListColumn> kResultColumns;
extern const std::vector<ui::StatusPanel> kStatusPanels;
// The pictures of the image list, in index order.
extern const std::vector<const char*> kImageList;
extern const std::vector<const char*> kDefaultMasks;

// Builds the controls of `layout` on `form`, parents before children.
void BuildControls(ui::Form& form, const std::vector<ControlSpec>& layout);

}  // namespace shell
