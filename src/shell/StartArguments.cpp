#include "shell/StartArguments.h"

namespace shell {

bool IsAutoStart(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return false;
  std::string first = arguments.front();
  for (char& c : first)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return first == "auto";
}

}  // namespace shell
