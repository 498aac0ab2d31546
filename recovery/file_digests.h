#pragma once
// What the PAR 2.0 format records of a file, computed from its bytes in one
// sequential pass: the MD5 of the whole and of its first 16 KiB, and the MD5
// and CRC-32 of every slice, the last one padded with zeros.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "recovery/md5_lanes.h"
#include "recovery/packets.h"

namespace vtq::recovery {

struct FileDigests {
  uint64_t length = 0;
  Md5Digest md5{};
  Md5Digest md5First16k{};
  std::vector<SliceChecksum> slices;
  // False when the last slice's MD5 was left out (see PadLastSlice).
  bool lastSliceHashed = true;
};

// Asked before the zeros that fill a file's last slice are hashed, with
// how many it takes: false leaves its MD5 out. A slice size is whatever a
// recovery set says, so a file of a few bytes may take gigabytes of them.
using PadLastSlice = std::function<bool(uint64_t zeros)>;

class StreamDigester {
 public:
  // `length`, when known: a file of exactly one slice has the slice's MD5 as
  // its own, which is then computed once.
  // `crcs` false leaves the slices' CRC-32s 0: a check that compares the
  // slices' MD5s has no use for them.
  explicit StreamDigester(uint64_t sliceSize, std::optional<uint64_t> length = std::nullopt,
                          bool crcs = true);
  // The file's next bytes.
  void Update(std::span<const uint8_t> bytes);
  // The next bytes of several files (`bytes[i]` for `digesters[i]`, each
  // digester once), their MD5s computed together (recovery/md5_lanes.h).
  static void UpdateTogether(std::span<StreamDigester* const> digesters,
                             std::span<const std::span<const uint8_t>> bytes);
  FileDigests Finish(const PadLastSlice& padLast = {});

 private:
  void CloseSlice();

  uint64_t sliceSize_;
  bool oneWholeSlice_;
  bool crcs_;
  bool wholeDone_ = false;
  FileDigests digests_;
  Md5Stream whole_;
  Md5 first16k_;
  Md5Stream slice_;
  uint32_t sliceCrc_ = 0;
  uint64_t inSlice_ = 0;
};

// Reads the whole file; `progress` is told the bytes read as it goes.
FileDigests DigestFile(const std::string& name, uint64_t sliceSize,
                       const std::function<void(uint64_t)>& progress = {}, bool crcs = true,
                       const PadLastSlice& padLast = {});

// Several files read side by side, their MD5s computed together; a file
// that cannot be opened or read to its end has none. `progress` is told
// each file's bytes read as it goes.
std::vector<std::optional<FileDigests>> DigestFiles(
    const std::vector<std::string>& names, uint64_t sliceSize,
    const std::function<void(size_t file, uint64_t done)>& progress = {}, bool crcs = true,
    const PadLastSlice& padLast = {});

// How many groups `files` files are read in side by side on `threads`
// threads: groups small enough for the MD5 lanes, as many as make the
// threads' shares even. Group g holds files [g * files / groups,
// (g + 1) * files / groups).
size_t GroupsOfFilesReadTogether(size_t files, int threads);

}  // namespace vtq::recovery
