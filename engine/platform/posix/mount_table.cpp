#include "engine/platform/posix/mount_table.h"

#include <sstream>

namespace vtq::posix {
namespace {

// mountinfo writes blanks, tabs, newlines and backslashes in paths as \ooo.
std::string DecodeOctal(std::string_view field) {
  const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
        isOctal(field[i + 2]) && isOctal(field[i + 3])) {
      out.push_back(static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                      (field[i + 3] - '0')));
      i += 3;
    } else {
      out.push_back(field[i]);
    }
  }
  return out;
}

bool Contains(std::string_view mountPoint, std::string_view path) {
  if (mountPoint == "/")
    return !path.empty() && path.front() == '/';
  if (path.substr(0, mountPoint.size()) != mountPoint)
    return false;
  return path.size() == mountPoint.size() || path[mountPoint.size()] == '/';
}

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> mounts;
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    // id parent major:minor root mount-point options [optional...] - type source super
    std::istringstream fields(line);
    std::string id, parent, device, root, mountPoint, options, field;
    if (!(fields >> id >> parent >> device >> root >> mountPoint >> options))
      continue;
    while (fields >> field && field != "-") {
    }
    std::string fsType, source;
    if (field != "-" || !(fields >> fsType))
      continue;
    fields >> source;
    mounts.push_back(MountEntry{device, DecodeOctal(mountPoint), fsType, DecodeOctal(source)});
  }
  return mounts;
}

std::optional<MountEntry> MountHolding(const std::vector<MountEntry>& mounts,
                                       std::string_view canonicalPath, std::string_view device) {
  const MountEntry* best = nullptr;
  bool bestOnDevice = false;
  for (const auto& mount : mounts) {
    if (!Contains(mount.mountPoint, canonicalPath))
      continue;
    const bool onDevice = !device.empty() && mount.device == device;
    // A later entry on the same point hides an earlier one (mounted over it).
    const bool better =
        best == nullptr || (onDevice && !bestOnDevice) ||
        (onDevice == bestOnDevice && mount.mountPoint.size() >= best->mountPoint.size());
    if (better) {
      best = &mount;
      bestOnDevice = onDevice;
    }
  }
  if (best == nullptr)
    return std::nullopt;
  return *best;
}

}  // namespace vtq::posix
