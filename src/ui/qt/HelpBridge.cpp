#include "ui/qt/HelpBridge.h"

#include "help/LocateHelpFile.h"
#include "platform/process.h"
#include "ui/qt/HelpViewer.h"

namespace ui_qt {

void RunHelpCommand(QWidget* owner, const std::string& help_file, unsigned command, uint32_t data) {
  // Beside the program first, then in the install's data folder; a name
  // found nowhere goes to the viewer as it is, which then complains.
  std::string path = help::LocateHelpFile(help_file, platform::ProgramFolder(), QUILLMOOR_DATA_DIR);
  HelpViewer::Command(owner, path.empty() ? help_file : path, command, data);
}

}  // namespace ui_qt
