#include "scan/scan_texts.h"

namespace scan::texts {

std::string Collecting(uint64_t folders) { return "正在扫描: " + std::to_string(folders); }

std::string Found(int64_t kb, uint64_t rows) {
  return "找到： " + std::to_string(kb) + "Kb 在 " + std::to_string(rows) + "个文件";
}

std::string FoundCount(uint64_t rows) { return std::to_string(rows) + "个文件被找到"; }

std::string Deleted(int64_t kb) { return "已删除： " + std::to_string(kb) + "KB"; }

}  // namespace scan::texts
