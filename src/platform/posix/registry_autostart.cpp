#include "platform/posix/registry_autostart.h"

#include <string>
#include <vector>

#include "platform/command_line.h"
#include "platform/files.h"
#include "platform/posix/registry_xdg.h"
#include "platform/registry.h"

namespace platform::registry_detail {
namespace {

std::string EntryFile(const std::string& name) {
  std::string folder = ConfigHome();
  if (folder.empty()) return {};
  // A value name is the user's text; a separator in it must not reach
  // another folder.
  std::string file = name;
  for (char& c : file)
    if (c == '/') c = '_';
  return folder + "/autostart/" + file + ".desktop";
}

bool NeedsQuotes(const std::string& argument) {
  if (argument.empty()) return true;
  for (char c : argument)
    if (static_cast<unsigned char>(c) <= ' ' || std::string_view("\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos)
      return true;
  return false;
}

std::string QuoteArgument(const std::string& argument) {
  std::string out;
  bool quote = NeedsQuotes(argument);
  if (quote) out += '"';
  for (char c : argument) {
    if (c == '%') {
      out += "%%";  // a lone % would start a field code
      continue;
    }
    if (quote && std::string_view("\"`$\\").find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  if (quote) out += '"';
  return out;
}

// Escapes a value for the key-file layer beneath the Exec quoting.
std::string KeyFileValue(std::string_view value) {
  std::string out;
  for (char c : value) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string_view TextOf(std::string_view data) { return data.substr(0, data.find('\0')); }

}  // namespace

std::string DesktopExec(std::string_view command_line) {
  std::string exec;
  for (const std::string& argument : SplitCommandLine(command_line)) {
    if (!exec.empty()) exec += ' ';
    exec += QuoteArgument(argument);
  }
  return exec;
}

void MirrorLogonValue(const std::string& name, uint32_t type, std::string_view data) {
  std::string exec = (type == kRegSz || type == kRegExpandSz) ? DesktopExec(TextOf(data)) : std::string();
  if (exec.empty()) {
    RemoveLogonValue(name);
    return;
  }
  std::string file = EntryFile(name);
  if (file.empty() || !MakeFolders(file.substr(0, file.find_last_of('/')), 0700)) return;
  std::string text =
      "# Mirrors the logon value \"" + KeyFileValue(name) + "\" of the program's registry; edit that instead.\n"
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=" + KeyFileValue(name) + "\n"
      "Exec=" + KeyFileValue(exec) + "\n"
      "NoDisplay=true\n";
  ReplaceFile(file, text);
}

void RemoveLogonValue(const std::string& name) {
  std::string file = EntryFile(name);
  if (!file.empty()) RemoveFile(file);
}

}  // namespace platform::registry_detail
