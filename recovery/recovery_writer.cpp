#include "recovery/recovery_writer.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <optional>

#include "base/utf8_text.h"
#include "engine/error.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/platform/same_file.h"
#include "engine/working_file.h"
#include "recovery/file_digests.h"
#include "recovery/gf16.h"
#include "recovery/lanes.h"
#include "recovery/volume_names.h"

namespace vtq::recovery {
namespace {

constexpr uint32_t kMaxRecoverySlices = 65535;

Md5Digest FirstBytesDigest(const std::string& name) {
  File file(name, File::Mode::kRead);
  std::vector<uint8_t> bytes(kFirstBytesHashed);
  bytes.resize(file.Read(bytes.data(), bytes.size()));
  return Md5Of(bytes.data(), bytes.size());
}

std::vector<uint8_t> CriticalPackets(const RecoverySet& set) {
  std::vector<Id16> ids;
  for (const DescribedFile& file : set.files)
    ids.push_back(file.id);
  std::vector<uint8_t> bytes =
      MakePacket(set.setId, MainPacketType(), MainBody(set.sliceSize, ids));
  const auto append = [&](const PacketType& type, const std::vector<uint8_t>& body) {
    const std::vector<uint8_t> packet = MakePacket(set.setId, type, body);
    bytes.insert(bytes.end(), packet.begin(), packet.end());
  };
  for (const DescribedFile& file : set.files) {
    append(FileDescriptionType(), FileDescriptionBody(file));
    // The description's name is the UTF-8 bytes, as par2 on Linux names
    // files; a reader on Windows takes the Unicode packet.
    if (!base::IsAscii(file.name))
      append(UnicodeFileNameType(), UnicodeFileNameBody(file.id, file.name));
  }
  for (const DescribedFile& file : set.files)
    append(SliceChecksumType(), SliceChecksumBody(file));
  append(CreatorType(), CreatorBody(set.creator));
  return bytes;
}

// Where each recovery slice packet goes: its volume and the offset of its
// header in it.
struct SlicePlace {
  size_t volume = 0;
  uint64_t offset = 0;
};

// The recovery files never take the place of a file they cover (a source
// named data.par2 split beside itself).
void RefuseOutputsThatAreInputs(const std::string& index, const std::vector<Volume>& volumes,
                                const std::vector<std::string>& inputs) {
  for (const std::string& input : inputs) {
    if (SameFile(index, input))
      RaiseAbout(index, err::kFileAlreadyExists);
    for (const Volume& volume : volumes) {
      if (SameFile(volume.name, input))
        RaiseAbout(volume.name, err::kFileAlreadyExists);
    }
  }
}

}  // namespace

uint64_t SliceSizeFor(uint64_t fragmentSize, const std::vector<uint64_t>& lengths) {
  uint64_t size = std::max<uint64_t>(4, (fragmentSize + 3) / 4 * 4);
  const auto slices = [&] {
    uint64_t count = 0;
    for (const uint64_t length : lengths)
      count += SliceCount(length, size);
    return count;
  };
  // Each file has a slice of its own however large they are: past that the
  // set is beyond the format, which the writer then refuses.
  while (slices() > kMaxInputSlices && lengths.size() < kMaxInputSlices)
    size *= 2;
  return size;
}

uint32_t RecoverySlicesFor(double percent, uint64_t sourceSlices) {
  const double wanted = std::ceil(percent * static_cast<double>(sourceSlices) / 100.0 - 1e-9);
  return static_cast<uint32_t>(std::clamp<double>(wanted, 1, kMaxRecoverySlices));
}

RecoveryWritten WriteRecoveryFiles(const RecoveryRequest& request) {
  const uint64_t sliceSize = request.sliceSize;
  if (sliceSize == 0 || sliceSize % 4 != 0 || request.recoverySlices == 0 ||
      request.recoverySlices > kMaxRecoverySlices) {
    Raise(err::kInvalidArgument);
  }
  RecoverySet set;
  set.sliceSize = sliceSize;
  set.creator = request.creator;
  // The identities come first: they decide the order of the inputs.
  set.files.resize(request.files.size());
  Lanes(request.lanes).ForEach(request.files.size(), [&](size_t f, int) {
    DescribedFile& file = set.files[f];
    file.name = BaseName(request.files[f]);
    file.length = FileLength(request.files[f]);
    file.md5First16k = FirstBytesDigest(request.files[f]);
    file.id = FileIdOf(file.md5First16k, file.length, file.name);
  });
  uint64_t totalSlices = 0;
  uint64_t totalBytes = 0;
  for (const DescribedFile& file : set.files) {
    totalSlices += SliceCount(file.length, sliceSize);
    totalBytes += file.length;
  }
  if (totalSlices > kMaxInputSlices)
    Raise(err::kInvalidArgument);
  // The main packet's order is the code's order; full names follow it.
  // Empty files stay out of the set, as par2cmdline leaves them out of its
  // own: it takes an empty file in a set for one that needs repair.
  std::vector<size_t> order;
  for (size_t i = 0; i < set.files.size(); ++i) {
    if (set.files[i].length > 0)
      order.push_back(i);
  }
  std::sort(order.begin(), order.end(),
            [&](size_t a, size_t b) { return FileIdBefore(set.files[a].id, set.files[b].id); });
  std::vector<DescribedFile> sorted;
  std::vector<std::string> fullNames;
  for (const size_t i : order) {
    sorted.push_back(std::move(set.files[i]));
    fullNames.push_back(request.files[i]);
  }
  set.files = std::move(sorted);

  std::vector<SliceInput> inputs;
  for (size_t f = 0; f < set.files.size(); ++f) {
    const uint64_t length = set.files[f].length;
    for (uint64_t at = 0; at < length; at += sliceSize) {
      inputs.push_back({fullNames[f], at, std::min(sliceSize, length - at)});
    }
  }
  const std::vector<Gf16> constants = InputSliceConstants(inputs.size());
  const uint32_t outputs = request.recoverySlices;
  // Recovery slice e is the sum of every input slice times its constant to
  // the power e.
  const auto coefficients = [&constants](size_t i, std::span<Gf16> perOutput) {
    Gf16 power = 1;
    for (Gf16& factor : perOutput) {
      factor = power;
      power = GfMultiply(power, constants[i]);
    }
  };
  SliceCombiner combiner(sliceSize, std::move(inputs), outputs, coefficients, request.memoryBudget,
                         request.lanes);
  const uint64_t total = combiner.Total() + totalBytes;
  const auto report = [&](uint64_t done) {
    if (request.progress)
      request.progress(done, total);
  };

  // The digests in a pass of their own, before the combiner's: files read
  // side by side share the MD5 lanes, where one MD5 at a time on the
  // combiner's read would cost more than its multiply. The fragments were
  // just written, so this read is mostly from memory. The progress line is
  // the calling thread's.
  {
    std::atomic<uint64_t> digested{0};
    Lanes lanes(request.lanes);
    const size_t count = set.files.size();
    const size_t groups = GroupsOfFilesReadTogether(count, lanes.Count());
    lanes.ForEach(groups, [&](size_t g, int lane) {
      const size_t first = g * count / groups;
      const std::vector<std::string> names(fullNames.begin() + first,
                                           fullNames.begin() + (g + 1) * count / groups);
      std::vector<uint64_t> told(names.size(), 0);
      std::vector<std::optional<FileDigests>> digests =
          DigestFiles(names, sliceSize, [&](size_t i, uint64_t done) {
            const uint64_t all = digested.fetch_add(done - told[i]) + done - told[i];
            told[i] = done;
            if (lane == 0)
              report(all);
          });
      for (size_t i = 0; i < names.size(); ++i) {
        // Read again alone, a file that failed says why.
        const FileDigests digest = digests[i] ? *digests[i] : DigestFile(names[i], sliceSize);
        set.files[first + i].md5 = digest.md5;
        set.files[first + i].slices = digest.slices;
      }
    });
  }
  std::vector<Id16> ids;
  for (const DescribedFile& file : set.files)
    ids.push_back(file.id);
  const std::vector<uint8_t> main = MainBody(sliceSize, ids);
  set.setId = Md5Of(main.data(), main.size());

  const std::vector<Volume> volumes = PlanVolumes(request.prefix, 0, outputs);
  const std::string index = IndexFileName(request.prefix);
  RefuseOutputsThatAreInputs(index, volumes, fullNames);
  // Each recovery file is written under a working name and given its own
  // only once all are complete: a failure leaves the files there before as
  // they were, and a link planted at a name is replaced, never written
  // through.
  std::vector<WorkingFile> volumeFiles;
  volumeFiles.reserve(volumes.size());
  std::vector<SlicePlace> places(outputs);
  std::vector<Md5> sliceHashes;
  const uint64_t packetLength = kPacketHeaderSize + kRecoverySliceLead + sliceSize;
  for (size_t v = 0; v < volumes.size(); ++v) {
    volumeFiles.emplace_back(volumes[v].name);
    for (uint32_t k = 0; k < volumes[v].count; ++k)
      places[volumes[v].first + k] = {v, k * packetLength};
  }
  for (uint32_t e = 0; e < outputs; ++e)
    sliceHashes.push_back(RecoverySliceHash(set.setId, e));

  // Several recovery slices are handed over at once, from different threads.
  std::mutex writing;
  const auto sink = [&](size_t e, uint64_t column, std::span<const uint8_t> data) {
    sliceHashes[e].Update(data.data(), data.size());
    const std::lock_guard lock(writing);
    WorkingFile& file = volumeFiles[places[e].volume];
    file.Seek(places[e].offset + kPacketHeaderSize + kRecoverySliceLead + column);
    file.Write(data.data(), data.size());
  };
  combiner.Run(sink, {}, [&](uint64_t done) { report(totalBytes + done); });

  const std::vector<uint8_t> critical = CriticalPackets(set);
  for (uint32_t e = 0; e < outputs; ++e) {
    WorkingFile& file = volumeFiles[places[e].volume];
    const std::vector<uint8_t> lead =
        RecoverySliceLead(set.setId, e, sliceSize, sliceHashes[e].Finish());
    file.Seek(places[e].offset);
    file.Write(lead.data(), lead.size());
  }
  for (size_t v = 0; v < volumes.size(); ++v) {
    volumeFiles[v].Seek(volumes[v].count * packetLength);
    volumeFiles[v].Write(critical.data(), critical.size());
  }
  WorkingFile indexFile(index);
  indexFile.Write(critical.data(), critical.size());
  for (WorkingFile& volume : volumeFiles)
    volume.Complete();
  indexFile.Complete();

  RecoveryWritten result;
  result.set = std::move(set);
  result.files.push_back(index);
  for (const Volume& v : volumes)
    result.files.push_back(v.name);
  return result;
}

}  // namespace vtq::recovery
