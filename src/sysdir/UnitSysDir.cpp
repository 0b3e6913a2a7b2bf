#include "sysdir/UnitSysDir.h"

#include "platform/files.h"
#include "platform/temp_path.h"
#include "settings/LineList.h"
#include "settings/Options.h"
#include "settings/Registry.h"

TSysDir::TSysDir(const std::string& program_folder, std::function<void()> show_error_box) {
  std::string list_file = program_folder + "qm.ini";
  if (platform::FileExists(list_file)) UserDirs = LoadLineList(list_file);
  if (!RefreshFolders() && show_error_box) show_error_box();
}

bool TSysDir::RefreshFolders() {
  bool result;
  {
    TRegistry reg(platform::RootKey::CurrentUser);
    // Read whether or not the key opened: without it every value reads as
    // "" and so clears its field.
    result = reg.OpenKey(kShellFoldersKey, false);
    RecentDir = reg.ReadString(kRecentValue);
    CacheDir = reg.ReadString(kCacheValue);
    HistoryDir = reg.ReadString(kHistoryValue);
    CookiesDir = reg.ReadString(kCookiesValue);
  }
  if (std::optional<std::string> temp = platform::TempPath())
    TempDir = *temp;
  else
    result = false;
  return result;
}
