#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include <QString>

class QWidget;

namespace ui_qt {

// The help viewer that stands in for the system's one: it takes the same
// command numbers and shows the topics of a WinHelp 3.1 file written by
// help::Write. Failures are the viewer's own business: it complains in its
// own message box and returns, and the caller carries on.
class HelpViewer {
 public:
  static constexpr unsigned kContextPopup = 8;  // HELP_CONTEXTPOPUP: data is the context number
  static constexpr unsigned kFinder = 11;       // HELP_FINDER: contents-and-index window
  static constexpr unsigned kSetPopupPos = 13;  // HELP_SETPOPUP_POS: x low 16 bits, y high 16 bits

  // `help_file_path` is where the file was found; a bare name (no "/")
  // means it was not found, and only names it in the complaint.
  static void Command(QWidget* owner, const std::string& help_file_path, unsigned command, uint32_t data);

  // How the viewer complains; the default is a modal message box captioned
  // "帮助". Returns the previous one, so a test can put it back.
  using Complaint = std::function<void(QWidget* owner, const QString& caption, const QString& text)>;
  static Complaint SetComplaint(Complaint complaint);
};

}  // namespace ui_qt
