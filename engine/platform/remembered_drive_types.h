#pragma once
// The system's drive queries with each drive's type asked only once. Under
// Wine a type query costs most of a millisecond, and a run asks it for every
// fragment; during one console command a drive letter keeps its type (a
// removable drive stays removable whatever disk is in it). Free space is
// always asked anew: it changes with every fragment and every disk.

#include <map>
#include <string>

#include "engine/platform/platform.h"

namespace vtq {

class RememberedDriveTypes : public Drives {
 public:
  explicit RememberedDriveTypes(Drives& system) : system_(system) {}

  DriveType TypeOf(const std::string& root) override {
    const auto known = types_.find(root);
    if (known != types_.end())
      return known->second;
    return types_.emplace(root, system_.TypeOf(root)).first->second;
  }
  bool HasExtendedFreeSpace() override { return system_.HasExtendedFreeSpace(); }
  std::optional<uint64_t> FreeBytesAvailable(const std::string& root) override {
    return system_.FreeBytesAvailable(root);
  }
  std::optional<ClusterFigures> Clusters(const std::string& root) override {
    return system_.Clusters(root);
  }

 private:
  Drives& system_;
  std::map<std::string, DriveType> types_;
};

}  // namespace vtq
