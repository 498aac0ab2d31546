#pragma once
// The text of the progress line: what is done of how much, the percentage,
// the throughput and the time left, as pv and rsync show them. Pure
// functions of the figures, so that the line is tested without a terminal.

#include <cstdint>
#include <string>

namespace vtq::cli {

struct ProgressFigures {
  uint64_t done = 0;
  uint64_t total = 0;
  double seconds = 0;  // since the run started
  int fragment = 0;    // the one being worked on; 0 leaves the part out
  int fragments = 0;
};

// "512 B", "10.0 KiB", "1.4 MiB", "2.00 GiB" (1,024-based, as the sizes
// are typed).
std::string ByteCount(uint64_t bytes);

// "0:07", "12:34", "1:02:03"; rounded to the second, at most 99:59:59.
std::string Duration(double seconds);

// "1.4 MiB of 2.9 MiB  48%  12.3 MiB/s  0:03 left  fragment 7/30", short
// enough for an 80-column terminal with any source the engine splits.
// Before anything is done, or in no measurable time, the throughput and the
// time left read "--". Percentages round down, so 100% means finished.
std::string ProgressLine(const ProgressFigures& figures);

}  // namespace vtq::cli
