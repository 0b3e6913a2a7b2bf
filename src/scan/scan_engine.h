#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "scan/result_row.h"

namespace scan {

// What the scan needs of the window that runs it (and of tests and the
// benchmark). Every call comes on the thread that called ScanClick.
class ScanHost {
 public:
  virtual ~ScanHost() = default;

  virtual int DriveCount() = 0;
  virtual bool DriveChecked(int index) = 0;
  virtual std::string DriveText(int index) = 0;
  virtual int MaskCount() = 0;
  virtual bool MaskChecked(int index) = 0;
  virtual std::string MaskText(int index) = 0;

  // The scan page's status label: set the text, show it, repaint at once.
  virtual void SetStatus(const std::string& text) = 0;
  // Handle pending window messages. Any handler may run, and may check or
  // uncheck drives and masks or change the mask list.
  virtual void ProcessMessages() = 0;
  // A new, unchecked row; the host puts it in its place in name order.
  virtual void AddRow(ResultRow row) = 0;
  virtual size_t RowCount() = 0;

  // Used only by ScanClick.
  virtual void ClearRows() = 0;
  // bScan, bSelAll, bDelete and bClearAll, in this order.
  virtual void SetScanButtonsEnabled(bool enabled) = 0;
  // Status panel 0 and the results list's hint, the status bar repainted.
  virtual void ShowFoundCount(const std::string& text) = 0;
};

// The whole press of the scan button: the list emptied, the refusals, the
// buttons disabled, the scan, the count line, the buttons enabled again
// (also when the scan ends by an exception).
void ScanClick(ScanHost& host);

// The scan proper: walks each checked drive once, then accounts every
// checked mask in list order. Returns the scan's kilobyte total.
int64_t RunScan(ScanHost& host);

}  // namespace scan
