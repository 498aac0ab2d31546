#include "comkit/module_state.h"

#include <atomic>

#include "base/win/module_path.h"

namespace vtq::comkit {
namespace {

// The two pieces of module state COM itself requires of an in-process server.
HINSTANCE g_instance = nullptr;
std::atomic<long> g_objects{0};

}  // namespace

HINSTANCE ModuleInstance() {
  return g_instance;
}
void SetModuleInstance(HINSTANCE instance) {
  g_instance = instance;
}

std::wstring ModulePath() {
  return base::win::ModulePath(g_instance);
}

void ObjectCreated() {
  ++g_objects;
}
void ObjectDestroyed() {
  --g_objects;
}
bool CanUnload() {
  return g_objects == 0;
}

}  // namespace vtq::comkit
