#pragma once
// What the library's engine objects run on: the platform (message boxes,
// message loop, drives, folders) and the disk services' Globals over it.
// The library's own classes share one host per process, on the system's
// platform; a test hands its objects a host over doubles instead.

// Before the platform header, which undoes windows.h's Yield macro.
#include <windows.h>

#include <memory>

#include "engine/globals.h"
#include "engine/platform/platform.h"

namespace vtq::control {

class EngineHost {
 public:
  // `platform`'s parts must outlive the host.
  explicit EngineHost(const Platform& platform) : platform_(platform), globals_(platform_) {}
  virtual ~EngineHost() = default;
  EngineHost(const EngineHost&) = delete;
  EngineHost& operator=(const EngineHost&) = delete;

  Globals& Engine() { return globals_; }

  // The process's host on the system's platform, created with the first
  // object that asks and released with the last that holds it.
  static std::shared_ptr<EngineHost> ForProcess();

 private:
  Platform platform_;
  Globals globals_;
};

}  // namespace vtq::control
