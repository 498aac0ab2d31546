#include "control/engine_host.h"

#include <mutex>

#include "engine/platform/win32/message_boxes_win32.h"

namespace vtq::control {
namespace {

// A box without a title of its own is titled with the library's name.
constexpr const char kBoxTitle[] = "ActiveVantrelloquin";

// Built before the host that refers to them.
struct SystemParts {
  Win32MessageBoxes boxes{kBoxTitle};
  Win32MessageLoop loop;
};

class SystemHost final : private SystemParts, public EngineHost {
 public:
  SystemHost() : EngineHost(Platform{boxes, loop, SystemDrives(), SystemFolders()}) {}
};

}  // namespace

std::shared_ptr<EngineHost> EngineHost::ForProcess() {
  // Module state by nature: one disk-services object per process.
  static std::mutex guard;
  static std::weak_ptr<EngineHost> current;
  std::lock_guard lock(guard);
  std::shared_ptr<EngineHost> host = current.lock();
  if (!host) {
    host = std::make_shared<SystemHost>();
    current = host;
  }
  return host;
}

}  // namespace vtq::control
