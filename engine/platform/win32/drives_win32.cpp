// Drive queries through the wide drive APIs. GetDiskFreeSpaceExW is looked
// up at run time: the oldest systems lack it and get the cluster query.
#include <windows.h>

#include "base/utf8_text.h"
#include "base/win/dyn_calls.h"
#include "engine/platform/platform.h"

namespace vtq {
namespace {

class Win32Drives final : public Drives {
 public:
  DriveType TypeOf(const std::string& root) override {
    const UINT type = GetDriveTypeW(base::FromUtf8(root).c_str());
    return type <= static_cast<UINT>(DriveType::kRamDisk) ? static_cast<DriveType>(type)
                                                          : DriveType::kUnknown;
  }

  bool HasExtendedFreeSpace() override { return freeSpaceEx_ != nullptr; }

  std::optional<uint64_t> FreeBytesAvailable(const std::string& root) override {
    if (freeSpaceEx_ == nullptr)
      return std::nullopt;
    ULARGE_INTEGER available{}, total{}, free{};
    if (!freeSpaceEx_(base::FromUtf8(root).c_str(), &available, &total, &free))
      return std::nullopt;
    return available.QuadPart;
  }

  std::optional<ClusterFigures> Clusters(const std::string& root) override {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceW(base::FromUtf8(root).c_str(), &sectorsPerCluster, &bytesPerSector,
                           &freeClusters, &totalClusters)) {
      return std::nullopt;
    }
    return ClusterFigures{sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
  }

 private:
  const base::win::Kernel32Calls::GetDiskFreeSpaceExWFn freeSpaceEx_ =
      base::win::Kernel32().getDiskFreeSpaceExW;
};

}  // namespace

Drives& SystemDrives() {
  static Win32Drives drives;
  return drives;
}

bool IsNtFamily() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = 148;  // the ANSI record's size, as the oldest systems expect
  static_assert(sizeof(OSVERSIONINFOA) == 148);
  if (!GetVersionExA(&info))
    return false;
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace vtq
