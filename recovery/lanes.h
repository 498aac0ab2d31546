#pragma once
// The run's own thread and worker threads beside it, working through the
// items of one step together: each item goes to whichever of them is free,
// and the step ends when every item is done. What the recovery files cost
// is processor work over many independent pieces (slices, files, column
// tiles), so every processor takes a share.

#include <cstddef>
#include <functional>

#include "engine/worker_threads.h"

namespace vtq::recovery {

// One lane per processor, at most this many.
inline constexpr int kMostLanes = 8;
int DefaultLaneCount();

class Lanes {
 public:
  // `count` threads in all, the caller's among them; 0 for the default.
  explicit Lanes(int count = 0);
  int Count() const { return count_; }

  // Calls work(item, lane) once for every item below `items`; `lane` tells
  // which thread runs it (0 is the caller's), so that each can keep its own
  // buffers and files. Returns when every item is done. When an item raises,
  // the items not yet begun are left and the first exception comes out
  // here once the others have stopped.
  void ForEach(size_t items, const std::function<void(size_t item, int lane)>& work);

 private:
  int count_;
  WorkerThreads workers_;
};

}  // namespace vtq::recovery
