#pragma once
#include <string>
#include <vector>

namespace shell {

// The unattended start: the first argument, its ASCII letters lowered, is
// exactly "auto". Later arguments do not count.
bool IsAutoStart(const std::vector<std::string>& arguments);

}  // namespace shell
