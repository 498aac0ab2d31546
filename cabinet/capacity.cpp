#include "cabinet/capacity.h"

namespace vtq::cabinet {
namespace {

constexpr uint64_t kHeaderBytes = 36 + 8;      // cabinet header and its one folder
constexpr uint64_t kFileRecordBytes = 16 + 1;  // per file, besides its name
constexpr uint64_t kBlockBytes = 32768;
constexpr uint64_t kBlockOverheadBytes = 8 + 16;  // block header; "CK" and deflate's stored blocks

}  // namespace

uint64_t LargestCabinetBytes(const PackedSources& sources) {
  const uint64_t blocks = (sources.totalBytes + kBlockBytes - 1) / kBlockBytes;
  return kHeaderBytes + sources.fileCount * kFileRecordBytes + sources.nameBytes +
         blocks * kBlockOverheadBytes + sources.totalBytes;
}

std::string CapacityProblem(const PackedSources& sources) {
  if (sources.fileCount > kCabinetFileLimit)
    return "The " + std::to_string(sources.fileCount) +
           " files to pack are more than one cabinet can hold (65,535 files). No cabinet was "
           "written.";
  if (LargestCabinetBytes(sources) > kCabinetByteLimit)
    return "The files to pack hold " + std::to_string(sources.totalBytes) +
           " bytes, more than one cabinet can hold (less than 2 GB). No cabinet was written.";
  return {};
}

}  // namespace vtq::cabinet
