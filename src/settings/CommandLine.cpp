#include "settings/CommandLine.h"

std::string FirstArgument(std::string_view raw) {
  std::vector<std::string> elements = SplitCommandLine(raw);
  return elements.size() > 1 ? elements[1] : std::string();
}

bool IsAutoArgument(std::string_view argument) {
  std::string folded(argument);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded == "auto";
}
