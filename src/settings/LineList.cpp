#include "settings/LineList.h"

#include "platform/files.h"

std::vector<std::string> ParseLines(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes.substr(start));
      break;
    }
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

std::string FormatLines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  return bytes;
}

std::vector<std::string> LoadLineList(const std::string& path) {
  std::optional<std::string> bytes = platform::ReadWholeFile(path);
  if (!bytes) throw EFOpenError("无法打开文件 " + path);
  return ParseLines(*bytes);
}

void SaveLineList(const std::string& path, const std::vector<std::string>& lines) {
  if (!platform::ReplaceFile(path, FormatLines(lines))) throw EFCreateError("无法建立文件 " + path);
}
