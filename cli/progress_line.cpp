#include "cli/progress_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vtq::cli {
namespace {

std::string Printed(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

std::string ByteCount(uint64_t bytes) {
  constexpr double kKi = 1024.0;
  const auto value = static_cast<double>(bytes);
  if (bytes < 1024)
    return std::to_string(bytes) + " B";
  if (value < kKi * kKi)
    return Printed("%.1f KiB", value / kKi);
  if (value < kKi * kKi * kKi)
    return Printed("%.1f MiB", value / (kKi * kKi));
  return Printed("%.2f GiB", value / (kKi * kKi * kKi));
}

std::string Duration(double seconds) {
  constexpr long kMost = 99L * 3600 + 59 * 60 + 59;
  // Bounded before rounding: a long is 32 bits on Windows, and a rate near
  // zero makes the time left as good as endless (or not a number at all).
  const double bounded = seconds > 0 ? std::min(seconds, static_cast<double>(kMost)) : 0.0;
  const long whole = std::lround(bounded);
  char text[64];
  if (whole >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  }
  return text;
}

std::string ProgressLine(const ProgressFigures& f) {
  const uint64_t done = std::min(f.done, f.total);
  const uint64_t percent =
      f.total == 0 ? 100 : static_cast<uint64_t>(static_cast<double>(done) * 100 / f.total);
  std::string line = ByteCount(done) + " of " + ByteCount(f.total) + "  " +
                     std::to_string(std::min<uint64_t>(percent, 100)) + "%  ";
  const bool measured = done > 0 && f.seconds > 0;
  if (measured) {
    const double rate = static_cast<double>(done) / f.seconds;
    line += ByteCount(static_cast<uint64_t>(rate)) + "/s  ";
    line += Duration(static_cast<double>(f.total - done) / rate) + " left";
  } else {
    line += "--/s  -- left";
  }
  if (f.fragment > 0)
    line += "  fragment " + std::to_string(f.fragment) + "/" + std::to_string(f.fragments);
  return line;
}

}  // namespace vtq::cli
