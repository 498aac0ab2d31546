#pragma once
// The progress line kept up to date in place on a terminal: drawn again with
// a carriage return, at most ten times a second however fast the fragments
// go, and always once more when the work is done. Off a terminal it draws
// nothing; the command's summary says what happened.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "cli/progress_line.h"

namespace vtq::cli {

class ProgressMeter {
 public:
  // Seconds from any fixed point, never going back.
  using Clock = std::function<double()>;
  static double SteadySeconds();

  static constexpr double kRedrawInterval = 0.1;

  // `columns` is the terminal's width: a longer line is cut to fit, since a
  // line that wraps cannot be drawn again in place. 0: not known.
  ProgressMeter(std::FILE* out, bool live, Clock clock = SteadySeconds, int columns = 0);
  ProgressMeter(const ProgressMeter&) = delete;
  ProgressMeter& operator=(const ProgressMeter&) = delete;

  bool Live() const { return live_; }
  // The clock starts; the line shows nothing done yet.
  void Start(uint64_t total, int fragments);
  void Update(uint64_t done, int fragment);
  // Takes the line off the screen so that other text can be written; the
  // next update draws it again.
  void Clear();
  const ProgressFigures& Figures() const { return figures_; }

 private:
  void Draw(double now);

  std::FILE* out_;
  bool live_;
  Clock clock_;
  int columns_;
  double started_ = 0;
  double lastDrawn_ = 0;
  bool drawnOnce_ = false;
  size_t width_ = 0;  // characters of the line on the screen; 0 for none
  ProgressFigures figures_;
};

}  // namespace vtq::cli
