#pragma once
// The shared disk-services object: the platform, the fragment size limits
// and the process's one kavrolib.

#include <cstdint>
#include <memory>
#include <string_view>

#include "engine/currency.h"
#include "engine/platform/platform.h"

namespace vtq {

class Kavrolib;  // engine/program/protection.h

inline constexpr int64_t kMaxFragSize = 104857600;  // 100 x 1,048,576
inline constexpr int16_t kMinFragSize = 10240;

// One instance per process, owned by the host; every engine object reaches
// the platform through it.
class Globals {
 public:
  explicit Globals(Platform& platform) : platform_(platform) {}
  Globals(const Globals&) = delete;
  Globals& operator=(const Globals&) = delete;

  // "Returns TRUE if the specified drive is removable"
  bool DiskRemovable(std::string_view drive);
  // "Returns the maximum allowable fragment size"
  Currency MaxFragSizeSupported() const {
    return Currency::FromScaled(kMaxFragSize * Currency::kScale);
  }
  // "Returns the minimum allowable fragment size"
  int16_t MinFragSizeSupported() const { return kMinFragSize; }

  Platform& GetPlatform() const { return platform_; }

  // The process's one kavrolib; the library itself is loaded on first use.
  // Only the program's build has it (engine/program/globals_program.cpp):
  // the control's build fails to link where something asks for it.
  Kavrolib& Cipher();

 private:
  Platform& platform_;
  // Shared ownership only for its type-erased deleter: the control's build,
  // which never makes one, carries no kavrolib code.
  std::shared_ptr<Kavrolib> cipher_;
};

}  // namespace vtq
