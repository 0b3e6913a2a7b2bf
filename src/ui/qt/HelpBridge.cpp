#include "ui/qt/HelpBridge.h"

namespace ui_qt {

void RunHelpCommand(QWidget*, const std::string&, unsigned, uint32_t) {}

}  // namespace ui_qt
