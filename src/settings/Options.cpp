#include "settings/Options.h"

#include <limits>

bool CheckRegInit(TRegistry& reg) {
  if (!reg.OpenKey(kSettingsKey, false)) return false;
  return reg.ValueCount() == kOptionValueCount;
}

void InitOptions(TRegistry& reg, const std::string& program_folder) {
  if (!reg.OpenKey(kSettingsKey, true)) return;
  reg.WriteString(kInstallDirValue, program_folder);
  for (const char* option : {kTempValue, kRecentValue, kCacheValue, kHistoryValue, kCookiesValue, kStCleanValue})
    reg.WriteBool(option, false);
  reg.WriteInteger(kCleanedValue, 0);
}

const char* OptionNameForTag(int tag) {
  static constexpr const char* kNames[] = {kTempValue, kRecentValue, kCacheValue, kHistoryValue, kCookiesValue};
  return tag >= 1 && tag <= 5 ? kNames[tag - 1] : nullptr;
}

void StoreFolderOption(int tag, bool checked) {
  // Another Tag would address the key's unnamed value and add a ninth value
  // that breaks the completeness check at the next start.
  const char* name = OptionNameForTag(tag);
  if (!name) return;
  TRegistry reg;
  if (reg.OpenKey(kSettingsKey, false)) reg.WriteBool(name, checked);
}

int32_t AddSaturating(int32_t total, int32_t kb) {
  int64_t sum = static_cast<int64_t>(total) + kb;
  if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(sum);
}

std::string FormatMegabytes(int32_t kb, char decimal_separator) {
  // Tenths of a megabyte, truncated toward zero; exact in integers.
  int64_t tenths = static_cast<int64_t>(kb) / 100;
  int64_t magnitude = tenths < 0 ? -tenths : tenths;
  std::string text = tenths < 0 ? "-" : "";
  text += std::to_string(magnitude / 10);
  if (magnitude % 10 != 0) {
    text += decimal_separator;
    text += static_cast<char>('0' + magnitude % 10);
  }
  return text + "MB";
}

std::string LogonEntryText(const std::string& program_file) {
  // The command line is split at blanks and control characters; a path
  // holding one would otherwise reach the program as several arguments.
  bool needs_quotes = false;
  for (char c : program_file)
    if (static_cast<unsigned char>(c) <= ' ') needs_quotes = true;
  return (needs_quotes ? "\"" + program_file + "\"" : program_file) + " auto";
}

std::optional<int32_t> AddToCounter(int32_t kb) {
  TRegistry reg;
  if (!reg.OpenKey(kSettingsKey, false)) return std::nullopt;
  if (!reg.BeginExclusive()) throw ERegistryException(std::string("设置 '") + kCleanedValue + "' 数据失败");
  int32_t total = 0;
  try {
    total = AddSaturating(reg.ReadInteger(kCleanedValue), kb);
    reg.WriteInteger(kCleanedValue, total);
  } catch (...) {
    reg.Rollback();
    throw;
  }
  if (!reg.Commit()) throw ERegistryException(std::string("设置 '") + kCleanedValue + "' 数据失败");
  return total;
}

void StoreStartWithWindows(bool checked, const std::string& program_file) {
  TRegistry reg;
  if (!reg.OpenKey(kSettingsKey, false)) return;
  reg.WriteBool(kStCleanValue, checked);
  reg.CloseKey();
  if (!reg.OpenKey(kRunKey, false)) return;
  if (checked)
    reg.WriteString(kLogonValue, LogonEntryText(program_file));
  else
    reg.DeleteValue(kLogonValue);  // a missing entry is not reported
}
