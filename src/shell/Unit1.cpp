#include "shell/Unit1.h"

#include "shell/Layout.h"

TAddExt::TAddExt() : ui::Form("AddExt") {
  SetText("新类型");
  client_width = 144;
  client_height = 65;
  bordered = false;
  shell::BuildControls(*this, shell::kAddExtLayout);
  Panel1 = Find("Panel1");
  Label1 = Find("Label1");
  Edit1 = FindAs<ui::Edit>("Edit1");
  Button1 = FindAs<ui::Button>("Button1");
  Button1->on_click = [this](ui::Control& sender) { Button1Click(sender); };
  SetFocus(Edit1);
}

void TAddExt::Button1Click(ui::Control&) {
  SetModalResult(Edit1->text().empty() ? ui::kModalCancel : ui::kModalOk);
}
