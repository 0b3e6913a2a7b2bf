#pragma once
#include <string>

namespace testing_support {

// A fresh folder under the system temp folder that removes itself, with
// everything beneath it, when the object goes away. path() ends without a
// separator.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + relative
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

  // Writes a file of the given bytes, creating missing parent folders.
  void write(const std::string& relative, const std::string& bytes) const;
  void mkdir(const std::string& relative) const;
  bool exists(const std::string& relative) const;

 private:
  std::string path_;
};

// Sets an environment variable for the life of the object and restores the
// previous value (or its absence) afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::string old_;
  bool had_old_;
};

}  // namespace testing_support
