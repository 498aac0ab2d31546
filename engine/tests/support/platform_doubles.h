#pragma once
// Test doubles for the platform seam: message boxes that record every call
// and answer from a script, a counting message loop, scripted drives and an
// in-memory folder tree.

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "engine/program/error_trap.h"
#include "engine/platform/platform.h"

namespace vtq::test {

struct ShownBox {
  std::string text;
  std::string title;
  unsigned style = 0;
  unsigned Buttons() const { return style & mb::kButtonsMask; }
  unsigned Icon() const { return style & mb::kIconMask; }
  unsigned DefaultButton() const { return style & mb::kDefaultButtonMask; }
};

class RecordingBoxes : public MessageBoxes {
 public:
  // Answers are taken in order; with none left, the box's first button
  // answers (OK, Yes, Retry, Abort).
  void Answer(int id) { answers_.push_back(id); }
  int Show(std::string_view text, std::string_view title, unsigned style) override;

  std::vector<ShownBox> shown;

 private:
  std::deque<int> answers_;
};

class CountingLoop : public MessageLoop {
 public:
  void Yield() override { ++yields; }
  int yields = 0;
};

// Drives described by root: type, free bytes (extended query) and cluster
// figures. Unknown roots are kNoRootDir with every query failing.
class FakeDrives : public Drives {
 public:
  struct Drive {
    DriveType type = DriveType::kFixed;
    std::optional<uint64_t> freeBytes;
    std::optional<ClusterFigures> clusters;
  };
  std::map<std::string, Drive> drives;
  bool extendedQuery = true;
  std::vector<std::string> typeQueries;  // every root TypeOf was asked for

  DriveType TypeOf(const std::string& root) override;
  bool HasExtendedFreeSpace() override { return extendedQuery; }
  std::optional<uint64_t> FreeBytesAvailable(const std::string& root) override;
  std::optional<ClusterFigures> Clusters(const std::string& root) override;
};

// Folders as pattern -> entries in enumeration order. A pattern absent from
// the map cannot be enumerated.
class FakeFolders : public FolderEnumerator {
 public:
  void AddFile(const std::string& folderPattern, const std::string& name);
  void AddFolder(const std::string& folderPattern, const std::string& name);
  void AddRaw(const std::string& folderPattern, const FindEntry& entry);
  bool Enumerate(const std::string& pattern,
                 const std::function<void(const FindEntry&)>& visit) override;
  std::map<std::string, std::vector<FindEntry>> folders;
};

// Answers every error with a scripted action (kEndRoutine when none is left)
// and records the errors it was asked about.
class ScriptedAdvisor : public ErrorAdvisor {
 public:
  void Answer(TrapAction action) { actions_.push_back(action); }
  TrapAction Advise(const VbError& error) override;
  std::vector<int32_t> asked;

 private:
  std::deque<TrapAction> actions_;
};

// A platform of doubles with the real drives and folders, or all doubles.
struct TestPlatform {
  RecordingBoxes boxes;
  CountingLoop loop;
  FakeDrives fakeDrives;
  FakeFolders fakeFolders;
  ScriptedAdvisor advisor;
  // Real file system and drives, recorded boxes.
  Platform Real() { return Platform{boxes, loop, SystemDrives(), SystemFolders(), &advisor}; }
  // Everything faked.
  Platform Fake() { return Platform{boxes, loop, fakeDrives, fakeFolders, &advisor}; }
};

}  // namespace vtq::test
