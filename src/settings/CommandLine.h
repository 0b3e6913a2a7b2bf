#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/command_line.h"

// The elements of a raw command line, the program's own name first: runs of
// blanks and control characters separate them, double quotes group text
// and are dropped.
inline std::vector<std::string> SplitCommandLine(std::string_view raw) { return platform::SplitCommandLine(raw); }

// The first argument after the program's name, "" when there is none.
std::string FirstArgument(std::string_view raw);

// True when `argument` is the word that asks for the unattended clean:
// "auto" with ASCII letters in any case, and nothing else.
bool IsAutoArgument(std::string_view argument);
