#pragma once
// A few threads kept for a whole run that take jobs in the order they are
// handed over. Starting a thread for every fragment costs more than a small
// fragment's copy on some systems: each one's stack is given back to the
// system when it ends, which interrupts the other processors.

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace vtq {

class WorkerThreads {
 public:
  // The threads start with the first job.
  explicit WorkerThreads(int count) : count_(count) {}
  // Waits for the jobs handed over, then ends the threads.
  ~WorkerThreads();
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;

  // Runs `job` on one of the threads; what it raises comes out of the
  // future. Where no thread can be had, the job runs here and now.
  std::future<void> Run(std::function<void()> job);

 private:
  void Serve();

  const int count_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::packaged_task<void()>> jobs_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

// Runs `job` on the calling thread now; the future holds what it raised,
// as one from WorkerThreads would.
std::future<void> RunHere(std::function<void()> job);

}  // namespace vtq
