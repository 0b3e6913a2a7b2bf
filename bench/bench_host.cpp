#include "bench_host.h"

#include <sys/resource.h>

namespace bench {

std::vector<std::string> DefaultMasks() {
  return {"*.BAK", "*.TMP", "*.OLD", "*.~*", "~*.*", "*.$$$", "*.---", "*.GID", "*.FTG", "*.FTS",
          "*.FND", "*.CHK", "*.DMP", "*.NCH", "*.DA0", "*.$DB", "*.DB$", "FILE_ID.DIZ", "ANTI-VIR.DAT"};
}

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace bench
