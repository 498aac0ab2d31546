#include "helperlib/com/shared_instances.h"

#include <mutex>

namespace orrin::com {

std::shared_ptr<SharedInstances> SharedInstances::Acquire() {
  // Module state by nature: every object of the DLL shares this one set.
  static std::mutex guard;
  static std::weak_ptr<SharedInstances> current;
  std::lock_guard lock(guard);
  auto set = current.lock();
  if (!set) {
    set = std::make_shared<SharedInstances>();
    current = set;
  }
  return set;
}

}  // namespace orrin::com
