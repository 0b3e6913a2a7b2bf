#pragma once
// What a fresh store holds besides empty keys: the shell-folder values that
// tell the cleaner where this user's recent-document links and browser data
// lie. Private to the registry backend.
#include <string>
#include <utility>
#include <vector>

namespace platform::registry_detail {

// Pairs of value name and folder, in the order "Recent", "Cache",
// "History", "Cookies", each present only when this user has a folder that
// holds nothing but that kind of data.
std::vector<std::pair<std::string, std::string>> ShellFolderDefaults();

}  // namespace platform::registry_detail
