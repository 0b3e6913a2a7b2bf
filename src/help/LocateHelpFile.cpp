#include "help/LocateHelpFile.h"

#include <filesystem>
#include <system_error>

namespace help {
namespace {

bool IsFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::string LocateHelpFile(const std::string& name, const std::string& program_folder,
                           const std::string& data_folder) {
  if (name.empty()) return {};
  if (!program_folder.empty() && IsFile(program_folder + name)) return program_folder + name;
  if (!data_folder.empty() && IsFile(data_folder + "/" + name)) return data_folder + "/" + name;
  return {};
}

}  // namespace help
