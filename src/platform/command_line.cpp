#include "platform/command_line.h"

namespace platform {
namespace {

bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view raw) {
  raw = raw.substr(0, raw.find('\0'));
  std::vector<std::string> elements;
  size_t i = 0;
  while (true) {
    while (i < raw.size() && IsSeparator(raw[i])) ++i;
    if (i == raw.size()) break;
    std::string element;
    bool quoted = false;
    for (; i < raw.size() && (quoted || !IsSeparator(raw[i])); ++i) {
      if (raw[i] == '"')
        quoted = !quoted;
      else
        element += raw[i];
    }
    elements.push_back(std::move(element));
  }
  return elements;
}

}  // namespace platform
