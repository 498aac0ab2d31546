#include "engine/worker_threads.h"

#include <system_error>
#include <utility>

namespace vtq {

WorkerThreads::~WorkerThreads() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  ready_.notify_all();
  for (auto& thread : threads_)
    thread.join();
}

std::future<void> WorkerThreads::Run(std::function<void()> job) {
  try {
    if (threads_.size() < static_cast<size_t>(count_))
      threads_.emplace_back([this] { Serve(); });
  } catch (const std::system_error&) {
    if (threads_.empty())
      return RunHere(std::move(job));
  }
  std::packaged_task<void()> task(std::move(job));
  std::future<void> done = task.get_future();
  {
    const std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(task));
  }
  ready_.notify_one();
  return done;
}

std::future<void> RunHere(std::function<void()> job) {
  std::packaged_task<void()> task(std::move(job));
  std::future<void> done = task.get_future();
  task();
  return done;
}

void WorkerThreads::Serve() {
  for (;;) {
    std::packaged_task<void()> task;
    {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty())
        return;
      task = std::move(jobs_.front());
      jobs_.pop_front();
    }
    task();
  }
}

}  // namespace vtq
