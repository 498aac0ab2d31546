#include "helperlib/com/shared_instances.h"

#include <mutex>

#include "base/path_parts.h"
#include "base/win/module_path.h"
#include "comkit/module_state.h"
#include "helperlib/com/com_support.h"
#include "helperlib/core/help_registration.h"

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

void RegisterLibraryHelp() noexcept {
  try {
    std::wstring folder = vtq::base::FolderPart(vtq::comkit::ModulePath());
    if (folder.size() > 3 && folder.back() == L'\\')
      folder.pop_back();
    RegisterHelp(folder, LibraryVersion());
  } catch (...) {
    // An object is still created when its help cannot be registered.
  }
}

}  // namespace orrin::com
