#include "recovery/lanes.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <future>
#include <thread>
#include <vector>

namespace vtq::recovery {

int DefaultLaneCount() {
  const unsigned processors = std::thread::hardware_concurrency();
  return std::clamp(static_cast<int>(processors), 1, kMostLanes);
}

Lanes::Lanes(int count) : count_(count > 0 ? count : DefaultLaneCount()), workers_(count_ - 1) {}

void Lanes::ForEach(size_t items, const std::function<void(size_t item, int lane)>& work) {
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
  const auto lane = [&](int index) {
    for (;;) {
      const size_t item = next.fetch_add(1);
      if (item >= items || failed.load())
        return;
      try {
        work(item, index);
      } catch (...) {
        failed.store(true);
        throw;
      }
    }
  };
  const size_t helpers = std::min(static_cast<size_t>(count_ - 1), items > 0 ? items - 1 : 0);
  std::vector<std::future<void>> running;
  for (size_t h = 1; h <= helpers; ++h)
    running.push_back(workers_.Run([&lane, h] { lane(static_cast<int>(h)); }));
  std::exception_ptr first;
  try {
    lane(0);
  } catch (...) {
    first = std::current_exception();
  }
  for (std::future<void>& one : running) {
    try {
      one.get();
    } catch (...) {
      if (!first)
        first = std::current_exception();
    }
  }
  if (first)
    std::rethrow_exception(first);
}

}  // namespace vtq::recovery
