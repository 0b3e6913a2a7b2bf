#pragma once
#include <QWidget>
#include <cstdint>
#include <string>

namespace ui_qt {

// Hands a WinHelp command to the help viewer, the help file located
// beside the program or in the install's data folder.
void RunHelpCommand(QWidget* owner, const std::string& help_file, unsigned command, uint32_t data);

}  // namespace ui_qt
