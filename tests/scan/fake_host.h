#pragma once
// A scan host that records what the window would show.
#include <functional>
#include <string>
#include <vector>

#include "scan/scan_engine.h"
#include "scan/sorted_rows.h"

namespace scan_testing {

struct Entry {
  std::string text;
  bool checked = true;
};

class FakeHost : public scan::ScanHost {
 public:
  std::vector<Entry> drives, masks;
  scan::SortedRows rows;
  std::vector<std::string> events;  // statuses and other visible steps, in order
  std::function<void(FakeHost&)> on_messages;  // a handler run during message processing
  int message_runs = 0;

  int DriveCount() override { return static_cast<int>(drives.size()); }
  bool DriveChecked(int i) override { return drives.at(i).checked; }
  std::string DriveText(int i) override { return drives.at(i).text; }
  int MaskCount() override { return static_cast<int>(masks.size()); }
  bool MaskChecked(int i) override { return masks.at(i).checked; }
  std::string MaskText(int i) override { return masks.at(i).text; }
  void SetStatus(const std::string& text) override {
    // Paced progress may repeat the folder count; keep only the latest of a run.
    if (IsCount(text) && !events.empty() && IsCount(events.back())) events.pop_back();
    events.push_back(text);
  }
  void ProcessMessages() override {
    ++message_runs;
    if (on_messages) on_messages(*this);
  }
  void AddRow(scan::ResultRow row) override { rows.Insert(std::move(row)); }
  size_t RowCount() override { return rows.size(); }
  void ClearRows() override {
    rows.Clear();
    events.push_back("<clear>");
  }
  void SetScanButtonsEnabled(bool enabled) override { events.push_back(enabled ? "<enable>" : "<disable>"); }
  void ShowFoundCount(const std::string& text) override { events.push_back("<count> " + text); }

  // "name|folder|kb" for every row, in list order.
  std::vector<std::string> RowTexts() const {
    std::vector<std::string> out;
    for (size_t i = 0; i < rows.size(); ++i)
      out.push_back(rows[i].name + "|" + rows[i].folder.str() + "|" + std::to_string(rows[i].kb));
    return out;
  }

 private:
  static bool IsCount(const std::string& text) { return text.rfind("正在扫描: ", 0) == 0; }
};

}  // namespace scan_testing
