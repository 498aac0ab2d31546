#pragma once
// A fragment that is nothing but a range of the source, copied on a worker
// thread or on the run's own, and given its name when the run finishes it.
// On a fast disk such a copy is bound by the processor: the split run has
// one fragment copied by a worker while it copies the next itself, so two
// cores share the work. The copy reads through a handle of its own, so the
// run's source position is never shared between threads.

#include <cstdint>
#include <future>
#include <string>

#include "engine/worker_threads.h"
#include "engine/working_file.h"

namespace vtq {

class FragmentCopy {
 public:
  // Copies `length` bytes from `offset` of `sourceName` into `fragment`,
  // which must hold nothing yet: on one of `workers`, or here and now when
  // there are none.
  FragmentCopy(WorkerThreads* workers, WorkingFile fragment, int16_t number, std::string sourceName,
               uint64_t offset, uint64_t length);
  // Waits for the copy; a fragment not finished goes with the object.
  ~FragmentCopy();
  FragmentCopy(const FragmentCopy&) = delete;
  FragmentCopy& operator=(const FragmentCopy&) = delete;

  // Waits for the copy and gives the fragment its name. A copy that failed
  // is made once more here, on the caller's thread, so that its error is
  // raised where the run traps it; calling again after that retries, and
  // after success does nothing.
  void Finish();

  bool OnAWorker() const { return onAWorker_; }
  int16_t Number() const { return number_; }
  const std::string& Name() const { return fragment_.FinalName(); }
  uint64_t Length() const { return length_; }

 private:
  void Copy();

  WorkingFile fragment_;
  const bool onAWorker_;
  const int16_t number_;
  const std::string sourceName_;
  const uint64_t offset_;
  const uint64_t length_;
  bool finished_ = false;
  // Declared last: destroyed first, so the copy has stopped before the
  // fragment it writes goes.
  std::future<void> copy_;
};

}  // namespace vtq
