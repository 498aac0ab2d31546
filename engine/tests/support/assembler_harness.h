#pragma once
// An assembler on recorded message boxes and scripted drives, with its
// events written down in order.

#include <functional>
#include <string>
#include <vector>

#include "engine/assembler.h"
#include "engine/globals.h"
#include "engine/path.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"

namespace vtq::test {

class RecordingAssemblerEvents : public AssemblerEvents {
 public:
  void AssembleStart(int16_t pbMax) override { log.push_back("start " + std::to_string(pbMax)); }
  void AssembleInterval(int16_t pbCurrent) override {
    log.push_back("interval " + std::to_string(pbCurrent));
  }
  void RequireNextDisk(int16_t diskNumber, bool& cancel) override {
    log.push_back("disk " + std::to_string(diskNumber));
    if (onDisk)
      onDisk(diskNumber, cancel);
  }
  std::vector<std::string> log;
  std::function<void(int16_t, bool&)> onDisk;
};

struct AssemblerHarness {
  TestPlatform doubles;
  Platform platform = doubles.Fake();
  Globals globals{platform};
  RecordingAssemblerEvents events;
  ActiveAssembler assembler{globals, events};
  ScratchDir in;
  ScratchDir out;

  AssemblerHarness() { assembler.DestinationFolder(out.Path()); }
  // Marks the drive that holds `name` with a type.
  void SetDrive(const std::string& name, DriveType type) {
    doubles.fakeDrives.drives[DriveRoot(DriveOfName(name))].type = type;
  }
  void Add(const std::string& name) { assembler.FilesToAssemble().Add(name); }
  std::vector<ShownBox>& Boxes() { return doubles.boxes.shown; }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const ShownBox& box : doubles.boxes.shown)
      titles.push_back(box.title);
    return titles;
  }
};

}  // namespace vtq::test
