#pragma once
#include <string>
#include <vector>
class TSysDir {
 public:
  std::string TempDir, RecentDir, CacheDir, HistoryDir, CookiesDir;
  std::vector<std::string> UserDirs;
};
