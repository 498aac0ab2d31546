#include "cli/console_text.h"
#include "cli/progress_meter.h"

#include <chrono>
#include <utility>

namespace vtq::cli {

double ProgressMeter::SteadySeconds() {
  using Seconds = std::chrono::duration<double>;
  return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

ProgressMeter::ProgressMeter(std::FILE* out, bool live, Clock clock, int columns)
    : out_(out), live_(live), clock_(std::move(clock)), columns_(columns) {}

void ProgressMeter::Start(uint64_t total, int fragments) {
  started_ = clock_();
  drawnOnce_ = false;
  figures_ = ProgressFigures{0, total, 0, 0, fragments};
  if (live_)
    Draw(started_);
}

void ProgressMeter::Update(uint64_t done, int fragment) {
  const double now = clock_();
  figures_.done = done;
  figures_.fragment = fragment;
  figures_.seconds = now - started_;
  if (!live_)
    return;
  const bool finished = done >= figures_.total;
  if (finished || !drawnOnce_ || now - lastDrawn_ >= kRedrawInterval)
    Draw(now);
}

void ProgressMeter::Clear() {
  if (width_ == 0)
    return;
  PrintText(out_, "\r%s\r", std::string(width_, ' ').c_str());
  std::fflush(out_);
  width_ = 0;
}

void ProgressMeter::Draw(double now) {
  std::string line = ProgressLine(figures_);
  // The last column is left free: some terminals wrap as soon as it is written.
  if (columns_ > 1 && line.size() >= static_cast<size_t>(columns_))
    line.resize(static_cast<size_t>(columns_) - 1);
  // Blanks over what a longer line left: no escape sequences, which an old
  // Windows console would print as text.
  const std::string rest(width_ > line.size() ? width_ - line.size() : 0, ' ');
  PrintText(out_, "\r%s%s", line.c_str(), rest.c_str());
  std::fflush(out_);
  width_ = line.size();
  lastDrawn_ = now;
  drawnOnce_ = true;
}

}  // namespace vtq::cli
