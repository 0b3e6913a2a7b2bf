#pragma once
#include "ui/Form.h"

// The small borderless dialog that asks for a new file mask.
class TAddExt : public ui::Form {
 public:
  TAddExt();

  ui::Control* Panel1;
  ui::Control* Label1;
  ui::Edit* Edit1;
  ui::Button* Button1;

  // OK: accepted with any text in the edit box, blanks included;
  // cancelled when it is empty.
  void Button1Click(ui::Control& sender);
};
