// The free room and size of a drive from the platform's figures, in the
// currency the fragment sizes are counted in.

#include "engine/disk_space.h"

#include <limits>

namespace vtq {
namespace {

constexpr int64_t kLongMax = std::numeric_limits<int32_t>::max();

// The older query's figures multiplied as 32-bit signed numbers: a product
// beyond that range stands for unknown (0). The figures are taken unsigned,
// so a count past 2^31 is an overflow, never a negative size.
Currency ClusterBytes(uint32_t a, uint32_t b, uint32_t c) {
  uint64_t product = 0;
  if (__builtin_mul_overflow(static_cast<uint64_t>(a), static_cast<uint64_t>(b), &product) ||
      __builtin_mul_overflow(product, static_cast<uint64_t>(c), &product) ||
      product > static_cast<uint64_t>(kLongMax)) {
    return Currency();
  }
  return Currency::FromWhole(static_cast<int64_t>(product));
}

// A byte count as currency. Counts beyond the currency range (some 922 TB)
// are held at its largest whole value instead of reading as no room at all.
Currency BytesToCurrency(uint64_t bytes) {
  constexpr uint64_t kLargestWhole =
      static_cast<uint64_t>(std::numeric_limits<int64_t>::max() / Currency::kScale);
  return Currency::FromWhole(static_cast<int64_t>(bytes < kLargestWhole ? bytes : kLargestWhole));
}

}  // namespace

Currency DiskFreeSpace(Drives& drives, const std::string& root) {
  if (drives.HasExtendedFreeSpace()) {
    const auto bytes = drives.FreeBytesAvailable(root);
    return bytes ? BytesToCurrency(*bytes) : Currency();
  }
  const auto clusters = drives.Clusters(root);
  if (!clusters)
    return Currency();
  return ClusterBytes(clusters->sectorsPerCluster, clusters->bytesPerSector,
                      clusters->freeClusters);
}

Currency DiskCapacity(Drives& drives, const std::string& root) {
  const auto clusters = drives.Clusters(root);
  if (!clusters)
    return Currency();
  return ClusterBytes(clusters->bytesPerSector, clusters->sectorsPerCluster,
                      clusters->totalClusters);
}

}  // namespace vtq
