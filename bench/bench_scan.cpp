// Runs the scan engine as the window runs it (walk, matching, sorted
// results) over ROOT as one drive.
//
//   quillmoor-bench-scan ROOT [MASKFILE]
//
// MASKFILE holds masks one a line; the nineteen defaults when left out.
// The last line printed is: rows=N kb=K seconds=S peak_rss_kb=M
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "bench_host.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s ROOT [MASKFILE]\n", argv[0]);
    return 2;
  }
  bench::BenchHost host;
  host.drives = {argv[1]};
  if (argc == 3) {
    std::ifstream in(argv[2]);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", argv[2]);
      return 1;
    }
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) host.masks.push_back(line);
    }
  } else {
    host.masks = bench::DefaultMasks();
  }
  long rss_before = bench::PeakRssKb();
  auto start = std::chrono::steady_clock::now();
  scan::ScanClick(host);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  long kb = 0;
  for (size_t i = 0; i < host.rows.size(); ++i) kb += host.rows[i].kb;
  std::printf("status=%s | %s | message_runs=%ld rss_before_kb=%ld\n", host.status.c_str(), host.count_text.c_str(),
              host.message_runs, rss_before);
  std::printf("rows=%zu kb=%ld seconds=%.3f peak_rss_kb=%ld\n", host.rows.size(), kb, seconds, bench::PeakRssKb());
  return 0;
}
