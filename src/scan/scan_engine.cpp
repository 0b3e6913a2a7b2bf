#include "scan/scan_engine.h"

#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/tree_walk.h"
#include "scan/mask.h"
#include "scan/scan_texts.h"

namespace scan {
namespace {

// Pending messages are handled after about this much work: often enough
// for a responsive window, rarely enough to cost nothing.
constexpr auto kMessageInterval = std::chrono::milliseconds(20);

class Pacer {
 public:
  bool Due() {
    auto now = std::chrono::steady_clock::now();
    if (now - last_ < kMessageInterval) return false;
    last_ = now;
    return true;
  }

 private:
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

// A matching file met by the walk. Names live in one shared buffer and
// folders in a table, so a scan that lists every file stays small.
struct Match {
  uint64_t name_offset;
  uint32_t name_length;
  uint32_t folder;
  int64_t kb;
  platform::FileIdentity identity;
};

// The masks as they stood when the walk began, one slot per distinct text
// (the same text twice in the list finds the same files).
class MaskSet {
 public:
  explicit MaskSet(ScanHost& host) {
    int count = host.MaskCount();
    for (int i = 0; i < count; ++i) {
      std::string text = host.MaskText(i);
      if (slots_.emplace(text, masks_.size()).second) masks_.emplace_back(text);
    }
  }
  const std::vector<Mask>& masks() const { return masks_; }
  // The slot of a mask text, or -1 when the text was not in the list.
  long SlotOf(const std::string& text) const {
    auto it = slots_.find(text);
    return it == slots_.end() ? -1 : static_cast<long>(it->second);
  }

 private:
  std::unordered_map<std::string, size_t> slots_;
  std::vector<Mask> masks_;
};

// Collects, in one walk per drive, every folder below the drive's root
// and the files in them that any mask matches, with the masks they match.
class Collector final : public platform::TreeVisitor {
 public:
  Collector(ScanHost& host, const MaskSet& masks, Pacer& pacer)
      : host_(host), masks_(masks.masks()), pacer_(pacer), by_mask_(masks_.size()) {}

  void EnterFolder(const std::string& path, int depth) override {
    // A drive's root is not a folder of the working list: the files lying
    // directly in it are never searched.
    in_root_ = depth == 0;
    current_path_ = &path;
    current_stored_ = false;
    if (!in_root_) ++folders_;
    Pace();
  }

  bool WantFile(std::string_view name) override {
    if (in_root_ || masks_.empty()) return false;
    if ((++names_ & 0xFF) == 0) Pace();
    Mask::FoldName(name, folded_);
    matched_.clear();
    for (size_t slot = 0; slot < masks_.size(); ++slot)
      if (masks_[slot].MatchesFolded(folded_)) matched_.push_back(static_cast<uint32_t>(slot));
    return !matched_.empty();
  }

  void File(const platform::WalkedFile& file) override {
    if (!current_stored_) {
      folders_with_matches_.emplace_back(*current_path_);
      current_stored_ = true;
    }
    auto index = static_cast<uint32_t>(matches_.size());
    matches_.push_back({names_buffer_.size(), static_cast<uint32_t>(file.name.size()),
                        static_cast<uint32_t>(folders_with_matches_.size() - 1),
                        static_cast<int64_t>(file.size / 1024), file.identity});
    names_buffer_.append(file.name);
    for (uint32_t slot : matched_) by_mask_[slot].push_back(index);
  }

  void ShowCount() { host_.SetStatus(texts::Collecting(folders_)); }

  // Matches in walk order, per mask slot.
  const std::vector<uint32_t>& MatchesOf(size_t slot) const { return by_mask_[slot]; }
  size_t MatchCount() const { return matches_.size(); }
  ResultRow Row(uint32_t index) const {
    const Match& m = matches_[index];
    return {names_buffer_.substr(m.name_offset, m.name_length), folders_with_matches_[m.folder], m.kb,
            m.identity};
  }
  int64_t Kb(uint32_t index) const { return matches_[index].kb; }

 private:
  void Pace() {
    if (!pacer_.Due()) return;
    ShowCount();
    host_.ProcessMessages();
  }

  ScanHost& host_;
  const std::vector<Mask>& masks_;
  Pacer& pacer_;
  uint64_t folders_ = 0;
  uint64_t names_ = 0;
  bool in_root_ = true;
  const std::string* current_path_ = nullptr;
  bool current_stored_ = false;
  std::u32string folded_;
  std::vector<uint32_t> matched_;
  std::vector<FolderPath> folders_with_matches_;
  std::vector<Match> matches_;
  std::string names_buffer_;
  std::vector<std::vector<uint32_t>> by_mask_;
};

void Collect(ScanHost& host, Collector& collector) {
  std::set<std::string> walked;
  int count = host.DriveCount();
  for (int i = 0; i < count && i < host.DriveCount(); ++i) {
    if (!host.DriveChecked(i)) continue;
    std::string drive = host.DriveText(i);
    // The same drive twice would only find the same files again.
    if (!walked.insert(drive).second) continue;
    platform::WalkTree(drive, collector);
    collector.ShowCount();
    host.ProcessMessages();
  }
}

int64_t Search(ScanHost& host, const MaskSet& masks, const Collector& collector, Pacer& pacer) {
  int64_t total_kb = 0;
  std::vector<bool> listed(collector.MatchCount(), false);
  // The mask count is taken once; each entry's check mark and text are
  // read when the search reaches it, never past the list's current end.
  // The files of a mask were matched during the walk; a mask whose text
  // was not in the list when the walk began (added since) has no matches
  // gathered and is not searched.
  int count = host.MaskCount();
  for (int i = 0; i < count && i < host.MaskCount(); ++i) {
    if (!host.MaskChecked(i)) continue;
    long slot = masks.SlotOf(host.MaskText(i));
    if (slot < 0) continue;
    host.SetStatus(texts::kSearching);
    for (uint32_t index : collector.MatchesOf(static_cast<size_t>(slot))) {
      // A file matched by an earlier mask is already listed and counted.
      if (listed[index]) continue;
      listed[index] = true;
      total_kb += collector.Kb(index);
      host.AddRow(collector.Row(index));
      if (pacer.Due()) host.ProcessMessages();
    }
    host.SetStatus(texts::Found(total_kb, host.RowCount()));
    host.ProcessMessages();
  }
  return total_kb;
}

// Enables the scan buttons again however the scan ends.
class ButtonsDisabled {
 public:
  explicit ButtonsDisabled(ScanHost& host) : host_(host) { host_.SetScanButtonsEnabled(false); }
  ~ButtonsDisabled() { host_.SetScanButtonsEnabled(true); }
  ButtonsDisabled(const ButtonsDisabled&) = delete;
  ButtonsDisabled& operator=(const ButtonsDisabled&) = delete;

 private:
  ScanHost& host_;
};

bool AnyDriveChecked(ScanHost& host) {
  for (int i = 0; i < host.DriveCount(); ++i)
    if (host.DriveChecked(i)) return true;
  return false;
}

bool AnyMaskChecked(ScanHost& host) {
  for (int i = 0; i < host.MaskCount(); ++i)
    if (host.MaskChecked(i)) return true;
  return false;
}

}  // namespace

int64_t RunScan(ScanHost& host) {
  Pacer pacer;
  MaskSet masks(host);
  auto collector = std::make_unique<Collector>(host, masks, pacer);
  Collect(host, *collector);
  return Search(host, masks, *collector, pacer);
}

void ScanClick(ScanHost& host) {
  // Emptied before any test, so a refused scan also leaves no rows.
  host.ClearRows();
  if (!AnyDriveChecked(host)) {
    host.SetStatus(texts::kNoDriveChecked);
    return;
  }
  if (!AnyMaskChecked(host)) {
    host.SetStatus(texts::kNoMaskChecked);
    return;
  }
  host.SetStatus(texts::kScanning);
  {
    ButtonsDisabled disabled(host);
    RunScan(host);
    host.ShowFoundCount(texts::FoundCount(host.RowCount()));
  }
}

}  // namespace scan
