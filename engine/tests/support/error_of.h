#pragma once
// The classic number an action raises, for tests that check many failures.

#include <cstdint>
#include <functional>

#include "engine/error.h"

namespace vtq::test {

// The number of the VbError `action` raises; 0 when it raises none.
inline int32_t ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const VbError& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace vtq::test
