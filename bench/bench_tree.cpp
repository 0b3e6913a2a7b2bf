// Builds the benchmark tree: about 20,000 folders and 400,000 files, a few
// percent of them matching the default masks in mixed case, with hidden
// files and folders, sparse sizes, links to files and folders that a scan
// must not follow, and a link loop. The same tree every time.
//
//   quillmoor-bench-tree ROOT
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kFolders = 20000;
constexpr int kFiles = 400000;

class Random {
 public:
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<uint32_t>(state_ >> 11);
  }
  uint32_t Below(uint32_t n) { return Next() % n; }

 private:
  uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

const char* const kSyllables[] = {"ka", "lo", "mi", "nu", "re", "sa", "to", "vi", "wen", "dor",
                                  "pix", "qua", "zel", "bri", "chu", "fen", "gor", "hal", "jin", "yus"};
const char* const kPlainExtensions[] = {".txt", ".c",    ".h",   ".png", ".jpg", ".so",  ".py", ".html",
                                        ".json", ".xml", ".mo",  ".gz",  ".conf", ".log", ".md", ".svg",
                                        "",      ".o",   ".js",  ".css"};
const char* const kJunkExtensions[] = {".bak", ".tmp", ".old", ".~1",  ".$$$", ".---", ".gid", ".ftg", ".fts",
                                       ".fnd", ".chk", ".dmp", ".nch", ".da0", ".$db", ".db$"};

std::string Stem(Random& random) {
  std::string stem;
  int parts = 1 + static_cast<int>(random.Below(3));
  for (int i = 0; i < parts; ++i) stem += kSyllables[random.Below(20)];
  stem += std::to_string(random.Below(1000));
  return stem;
}

std::string MixCase(std::string text, Random& random) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z' && random.Below(2)) c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string FileName(Random& random) {
  uint32_t kind = random.Below(1000);
  std::string name;
  if (kind < 25) {
    name = MixCase(Stem(random) + kJunkExtensions[random.Below(16)], random);
  } else if (kind < 30) {
    name = MixCase(std::string(1, '~').append(Stem(random)).append(random.Below(2) ? ".tmp" : ""), random);
  } else if (kind < 31) {
    name = MixCase(random.Below(2) ? "file_id.diz" : "anti-vir.dat", random);
  } else {
    name = Stem(random) + kPlainExtensions[random.Below(20)];
  }
  if (random.Below(50) == 0) name.insert(0, 1, '.');  // hidden
  return name;
}

bool MakeFile(const std::string& path, off_t size) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  if (size > 0 && ::ftruncate(fd, size) != 0) std::perror(path.c_str());  // sparse: takes no space
  ::close(fd);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s ROOT\n", argv[0]);
    return 2;
  }
  std::string root = argv[1];
  if (::mkdir(root.c_str(), 0755) != 0) {
    std::perror(root.c_str());
    return 1;
  }
  Random random;
  std::vector<std::string> folders = {root};
  for (int i = 1; i < kFolders; ++i) {
    // Parents drawn from all folders so far give a tree about ten levels deep.
    const std::string& parent = folders[random.Below(static_cast<uint32_t>(folders.size()))];
    std::string name = Stem(random);
    if (random.Below(40) == 0) name.insert(0, 1, '.');
    std::string path = parent + "/" + name;
    if (::mkdir(path.c_str(), 0755) == 0) folders.push_back(path);
  }
  long made = 0, bytes = 0;
  for (int i = 0; i < kFiles; ++i) {
    const std::string& folder = folders[random.Below(static_cast<uint32_t>(folders.size()))];
    off_t size = random.Below(4) == 0 ? 0 : random.Below(256 * 1024);
    if (MakeFile(folder + "/" + FileName(random), size)) ++made, bytes += size;
  }
  // Links that a scan must not follow: to junk files, to folders, and a loop.
  int links = 0;
  for (int i = 0; i < 500; ++i) {
    const std::string& folder = folders[random.Below(static_cast<uint32_t>(folders.size()))];
    const std::string& target = folders[random.Below(static_cast<uint32_t>(folders.size()))];
    std::string link = folder + "/link" + std::to_string(i) + (i % 2 ? ".BAK" : "");
    if (::symlink(target.c_str(), link.c_str()) == 0) ++links;
  }
  if (::symlink(root.c_str(), (folders[folders.size() - 1] + "/loop").c_str()) == 0) ++links;
  if (::symlink("..", (folders[folders.size() / 2] + "/up").c_str()) == 0) ++links;
  std::printf("folders=%zu files=%ld links=%d bytes=%ld\n", folders.size(), made, links, bytes);
  return 0;
}
