#pragma once
// A splitter on recorded message boxes, its events written down in order,
// over a scratch folder; the drives scripted (the default) or the system's.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/globals.h"
#include "engine/path.h"
#include "engine/splitter.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"
#include "engine/tests/support/splitter_events.h"

namespace vtq::test {

// Whose drives the splitter asks about room and type. Files are real either way.
enum class SplitterDrives { kScripted, kSystem };

template <typename Events = RecordingSplitterEvents>
struct BasicSplitterHarness {
  explicit BasicSplitterHarness(SplitterDrives drives = SplitterDrives::kScripted)
      : platform(drives == SplitterDrives::kSystem ? doubles.Real() : doubles.Fake()) {}

  TestPlatform doubles;
  Platform platform;
  Globals globals{platform};
  Events events;
  ActiveSplitter splitter{globals, events};
  ScratchDir dir;

  // The splitter takes the size by reference and may change it; most set-ups
  // only give one.
  void SetFragmentSize(int32_t size) { splitter.SetFragmentSize(size); }
  // The scripted drive that holds `name`.
  FakeDrives::Drive& DriveOf(const std::string& name) {
    return doubles.fakeDrives.drives[DriveRoot(name)];
  }
  // The scripted drive of the destination folder.
  FakeDrives::Drive& Destination() { return DriveOf(splitter.DestinationFolder()); }
  // A fixed destination disk with room for any source.
  void FixedDestination() {
    Destination().type = DriveType::kFixed;
    Destination().freeBytes = uint64_t{1} << 40;
  }
  // A removable destination disk of `capacity` bytes with `free` of them free,
  // in clusters of one 512-byte sector.
  void RemovableDestination(uint32_t capacity, uint64_t free) {
    Destination().type = DriveType::kRemovable;
    Destination().clusters =
        ClusterFigures{1, 512, static_cast<uint32_t>(free / 512), capacity / 512};
    Destination().freeBytes = free;
  }
  std::vector<ShownBox>& Boxes() { return doubles.boxes.shown; }
};

using SplitterHarness = BasicSplitterHarness<>;

}  // namespace vtq::test
