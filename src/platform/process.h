#pragma once
#include <string>
#include <vector>

namespace platform {

// Records the arguments main() received. Backends that read the raw
// command line from the system ignore them.
void InitProcess(int argc, char** argv);

// The running program file's full path.
std::string ProgramFile();

// ProgramFile() up to and including its last separator.
std::string ProgramFolder();

// The arguments after the program's own name, in order.
std::vector<std::string> CommandLineArguments();

// The folder separator of this system's paths.
char PathSeparator();

}  // namespace platform
