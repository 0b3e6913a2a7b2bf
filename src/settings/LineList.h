#pragma once
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A list file that exists but cannot be read: "无法打开文件 <path>".
class EFOpenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A list file that cannot be written: "无法建立文件 <path>".
class EFCreateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Lines of a list file. A line ends at CR LF, a lone CR or a lone LF (LF CR
// is two breaks); the text ends at the first NUL. A final break adds no
// empty entry; empty lines and blanks are kept; bytes are not converted.
std::vector<std::string> ParseLines(std::string_view bytes);

// Every entry followed by CR LF; an empty list is no bytes at all.
std::string FormatLines(const std::vector<std::string>& lines);

std::vector<std::string> LoadLineList(const std::string& path);

// Replaces the file as a whole: a failed save leaves the previous file as
// it was.
void SaveLineList(const std::string& path, const std::vector<std::string>& lines);
