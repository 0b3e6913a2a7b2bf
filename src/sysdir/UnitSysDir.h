#pragma once
#include <functional>
#include <string>
#include <vector>

// The locator's error box: its text (ten characters and eleven blanks),
// caption and only button.
inline constexpr const char* kSysDirErrorText = "错误访问系统文件夹！           ";
inline constexpr const char* kSysDirErrorCaption = "错误";
inline constexpr const char* kSysDirErrorButton = "确定";

// Where the five system folders a clean run can empty lie for this user, and
// the user's own folder list as read at start.
class TSysDir {
 public:
  // Loads "qm.ini" from `program_folder` (which ends in the separator) into
  // UserDirs when that file exists, then locates the folders; when that
  // fails, calls `show_error_box`, which shows kSysDirErrorText and returns
  // once the user has closed it. A list file that cannot be read
  // (EFOpenError) and a shell-folder value of the wrong type
  // (ERegistryException) leave the constructor.
  TSysDir(const std::string& program_folder, std::function<void()> show_error_box);

  // Re-reads the four shell-folder values of the user's hive and the
  // temporary path. True only when the shell-folder key opened and the
  // temporary path was obtained; a path that could not be obtained keeps
  // its previous value, a missing value reads as "". A value of the wrong
  // type throws ERegistryException.
  bool RefreshFolders();

  std::string TempDir;  // ends in the separator
  std::string RecentDir;
  std::string CacheDir;
  std::string HistoryDir;
  std::string CookiesDir;
  std::vector<std::string> UserDirs;
};
