#pragma once
// The scan host the benchmarks run the engine against: the window's work
// without a window. Rows go into the same sorted store a list view would
// read from; statuses are kept, messages cost nothing.
#include <string>
#include <vector>

#include "scan/scan_engine.h"
#include "scan/sorted_rows.h"

namespace bench {

// The nineteen masks a first start offers.
std::vector<std::string> DefaultMasks();

class BenchHost : public scan::ScanHost {
 public:
  std::vector<std::string> drives, masks;
  scan::SortedRows rows;
  std::string status, count_text;
  long message_runs = 0;

  int DriveCount() override { return static_cast<int>(drives.size()); }
  bool DriveChecked(int) override { return true; }
  std::string DriveText(int i) override { return drives[i]; }
  int MaskCount() override { return static_cast<int>(masks.size()); }
  bool MaskChecked(int) override { return true; }
  std::string MaskText(int i) override { return masks[i]; }
  void SetStatus(const std::string& text) override { status = text; }
  void ProcessMessages() override { ++message_runs; }
  void AddRow(scan::ResultRow row) override { rows.Insert(std::move(row)); }
  size_t RowCount() override { return rows.size(); }
  void ClearRows() override { rows.Clear(); }
  void SetScanButtonsEnabled(bool) override {}
  void ShowFoundCount(const std::string& text) override { count_text = text; }
};

// Peak resident memory of this process so far, in kilobytes.
long PeakRssKb();

}  // namespace bench
