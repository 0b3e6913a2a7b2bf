#pragma once
#include <string>

namespace help {

// Where the help file `name` is: program_folder + name (the program folder
// ends with its separator) when that file exists, else data_folder + "/" +
// name; empty when neither exists. An empty folder is not searched, so the
// current folder never is.
std::string LocateHelpFile(const std::string& name, const std::string& program_folder,
                           const std::string& data_folder);

}  // namespace help
