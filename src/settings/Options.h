#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "settings/Registry.h"

// Where the options live, under the machine hive. Key paths are taken from
// the root.
inline constexpr const char* kSettingsKey = "\\Software\\Vestrel\\Quillmoor";
inline constexpr const char* kRunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Under the user's hive: where this user's system folders lie.
inline constexpr const char* kShellFoldersKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

inline constexpr const char* kInstallDirValue = "InstallDir";
inline constexpr const char* kTempValue = "Temp";
inline constexpr const char* kRecentValue = "Recent";
inline constexpr const char* kCacheValue = "Cache";
inline constexpr const char* kHistoryValue = "History";
inline constexpr const char* kCookiesValue = "Cookies";
inline constexpr const char* kStCleanValue = "StClean";
inline constexpr const char* kCleanedValue = "Cleaned";
// The logon entry under kRunKey.
inline constexpr const char* kLogonValue = "Quillmoor";
// How many values the first-run defaults write; a settings key with any
// other count is incomplete.
inline constexpr int kOptionValueCount = 8;

// True when the settings key opens (without being created) on `reg` and
// holds exactly the eight values of the defaults. Leaves the key open.
bool CheckRegInit(TRegistry& reg);

// Creates the settings key and writes the defaults: "InstallDir" = the
// program folder, the six options off, the counter 0. Nothing is written
// when the key cannot be created. Write failures throw ERegistryException.
void InitOptions(TRegistry& reg, const std::string& program_folder);

// The option stored for a system-folder check box by its Tag (1 "Temp",
// 2 "Recent", 3 "Cache", 4 "History", 5 "Cookies"); nullptr for any other
// Tag.
const char* OptionNameForTag(int tag);

// Stores a system-folder check box's state when the settings key opens;
// does nothing for a Tag outside 1-5 or when the key does not open.
void StoreFolderOption(int tag, bool checked);

// total + kb, held at the ends of the signed 32-bit range instead of
// wrapping.
int32_t AddSaturating(int32_t total, int32_t kb);

// The counter as shown in the status bar: (kb div 100) / 10 with at most one
// decimal, no trailing zero, then "MB" (1234 -> "1.2MB", 10000 -> "10MB").
std::string FormatMegabytes(int32_t kb, char decimal_separator);

// The logon entry's command line: the program file then " auto"; the path is
// put in double quotes when it holds a blank, so that it stays one argument.
std::string LogonEntryText(const std::string& program_file);

// Adds kb to the stored counter in one exclusive transaction, so other
// running copies never lose an addition, and gives the new total; nothing
// when the settings key cannot be opened (then nothing is stored or to be
// shown). Read and write failures throw ERegistryException after rolling
// back.
std::optional<int32_t> AddToCounter(int32_t kb);

// What the start-with-Windows box stores: writes "StClean", then
// writes the logon entry (checked) or removes it (unchecked) when the run
// key opens. Does nothing when the settings key cannot be opened. Write
// failures throw ERegistryException.
void StoreStartWithWindows(bool checked, const std::string& program_file);
