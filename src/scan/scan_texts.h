#pragma once
#include <cstdint>
#include <string>

// Every text the scan and the deletion show, in one place.
namespace scan::texts {

inline constexpr const char* kNoDriveChecked = "没有选择驱动器！  ";
inline constexpr const char* kNoMaskChecked = "没有选择文件类型！    ";
inline constexpr const char* kScanning = "正在扫描...";
inline constexpr const char* kSearching = "正在搜索... ";

// "正在扫描: 1520": folders collected so far.
std::string Collecting(uint64_t folders);
// "找到： 2048Kb 在 37个文件": totals over the whole scan so far.
std::string Found(int64_t kb, uint64_t rows);
// "12个文件被找到"
std::string FoundCount(uint64_t rows);
// "已删除： 64KB"
std::string Deleted(int64_t kb);

}  // namespace scan::texts
