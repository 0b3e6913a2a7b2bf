#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Splits a raw command line into its elements, the program's own name
// first. Elements are separated by runs of blanks and control characters;
// double quotes group text (blanks included) and are themselves dropped, so
// `"a b"c` is the one element `a bc` and `""` an empty one. The text ends at
// its first NUL.
std::vector<std::string> SplitCommandLine(std::string_view raw);

}  // namespace platform
