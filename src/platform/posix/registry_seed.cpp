#include "platform/posix/registry_seed.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "platform/posix/registry_xdg.h"

namespace platform::registry_detail {
namespace {

// Every folder given to the cleaner is emptied to the last file, so only a
// real folder counts, never a link that could lead somewhere else.
bool IsRealFolder(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

std::vector<std::string> SubFolderNames(const std::string& folder) {
  std::vector<std::string> names;
  std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir.get())) {
    std::string name = entry->d_name;
    if (name != "." && name != ".." && IsRealFolder(folder + "/" + name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The cache folder of the Firefox profile that is in use: the profile
// folders under the cache root hold only disposable data, and of them
// "cache2" is the web cache proper. The default profile is preferred.
std::string FirefoxCache(const std::string& root) {
  std::vector<std::string> candidates;
  for (const std::string& profile : SubFolderNames(root))
    if (IsRealFolder(root + "/" + profile + "/cache2")) candidates.push_back(profile);
  if (candidates.empty()) return {};
  for (const char* preferred : {".default-release", ".default"})
    for (const std::string& profile : candidates)
      if (EndsWith(profile, preferred)) return root + "/" + profile + "/cache2";
  return root + "/" + candidates.front() + "/cache2";
}

std::string BrowserCache() {
  std::string cache = CacheHome();
  std::string home = HomeFolder();
  if (cache.empty()) return {};
  std::vector<std::string> found = {
      FirefoxCache(cache + "/mozilla/firefox"),
      home.empty() ? std::string() : FirefoxCache(home + "/snap/firefox/common/.cache/mozilla/firefox"),
  };
  // Chromium-based browsers keep the HTTP cache of a profile in its own
  // folder under the cache root, apart from the profile itself.
  for (const char* browser : {"chromium", "google-chrome", "BraveSoftware/Brave-Browser", "microsoft-edge"})
    found.push_back(IsRealFolder(cache + "/" + browser + "/Default/Cache") ? cache + "/" + browser + "/Default/Cache"
                                                                            : std::string());
  for (const std::string& folder : found)
    if (!folder.empty()) return folder;
  return {};
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ShellFolderDefaults() {
  std::vector<std::pair<std::string, std::string>> values;
  // Desktops that keep recent documents as a folder of links (KDE) put it
  // here; the others keep one list file, which is no folder to empty.
  std::string data = DataHome();
  if (!data.empty() && IsRealFolder(data + "/RecentDocuments")) values.emplace_back("Recent", data + "/RecentDocuments");
  if (std::string cache = BrowserCache(); !cache.empty()) values.emplace_back("Cache", cache);
  // Browsers on Linux keep history and cookies as single database files
  // inside the profile, beside bookmarks and passwords: there is no folder
  // that holds only them, so "History" and "Cookies" stay unset.
  return values;
}

}  // namespace platform::registry_detail
