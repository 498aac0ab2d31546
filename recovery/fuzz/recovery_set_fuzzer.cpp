// Fuzzes the reading of a recovery set from up to three recovery files, the
// check of the files it names and their repair.
//
// Input: byte 0 chooses what is fixed up and planted (bit 0: every packet's
// hash is made right, bit 1: every packet takes the set identity of the
// first main packet, which is made right too, bit 2: the files data.001 and
// data.002 stand beside the recovery files, bit 3: a folder "link" beside
// them is a link to a folder outside); then per recovery file a 16-bit
// little-endian length and that many bytes (cut short at the end). With the
// hashes fixed up, a mutation reaches what the packets say instead of dying
// at their hash.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/error.h"
#include "recovery/digests.h"
#include "recovery/packets.h"
#include "recovery/recovery_files.h"
#include "recovery/repair.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

const fs::path& WorkFolder() {
  static const fs::path folder =
      fs::temp_directory_path() / ("vtq-fuzz-recovery-" + std::to_string(::getpid()));
  return folder;
}

void Fresh(const fs::path& folder) {
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directories(folder);
}

void Write(const fs::path& name, const Bytes& bytes) {
  std::ofstream(name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

Bytes Read(const fs::path& name) {
  std::ifstream file(name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

// The length field of the packet starting at `at`, after its 8-byte magic.
uint64_t LengthAt(const Bytes& bytes, size_t at) {
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i)
    value = (value << 8) | bytes[at + 8 + i];
  return value;
}

// The packets of `bytes` as a sound file would hold them, one after
// another from each magic number found: the set identity of main packets
// made the MD5 of their body, `setId` (when given) put into the others,
// and every hash made right.
void FixUp(Bytes& bytes, bool hashes, const vtq::recovery::Id16* setId) {
  using namespace vtq::recovery;
  size_t at = 0;
  while (at + kPacketHeaderSize <= bytes.size()) {
    if (!std::equal(kPacketMagic.begin(), kPacketMagic.end(), bytes.begin() + at)) {
      ++at;
      continue;
    }
    const uint64_t length = LengthAt(bytes, at);
    if (length < kPacketHeaderSize || length % 4 != 0 || length > bytes.size() - at) {
      ++at;
      continue;
    }
    uint8_t* packet = bytes.data() + at;
    const bool main = std::equal(packet + 48, packet + 64, MainPacketType().begin());
    if (main) {
      const Md5Digest id = Md5Of(packet + kPacketHeaderSize, length - kPacketHeaderSize);
      std::copy(id.begin(), id.end(), packet + 32);
    } else if (setId) {
      std::copy(setId->begin(), setId->end(), packet + 32);
    }
    if (hashes) {
      const Md5Digest md5 = Md5Of(packet + 32, length - 32);
      std::copy(md5.begin(), md5.end(), packet + 16);
    }
    at += length;
  }
}

// The set identity of the first main packet, as FixUp would make it.
bool FirstMainSet(const Bytes& bytes, vtq::recovery::Id16& setId) {
  using namespace vtq::recovery;
  for (size_t at = 0; at + kPacketHeaderSize <= bytes.size(); ++at) {
    if (!std::equal(kPacketMagic.begin(), kPacketMagic.end(), bytes.begin() + at))
      continue;
    const uint64_t length = LengthAt(bytes, at);
    if (length < kPacketHeaderSize || length % 4 != 0 || length > bytes.size() - at)
      continue;
    if (std::equal(bytes.begin() + at + 48, bytes.begin() + at + 64, MainPacketType().begin())) {
      setId = Md5Of(bytes.data() + at + kPacketHeaderSize, length - kPacketHeaderSize);
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1)
    return 0;
  const uint8_t control = data[0];
  const fs::path folder = WorkFolder() / "set";
  const fs::path outside = WorkFolder() / "outside";
  Fresh(folder);
  Fresh(outside);
  std::vector<Bytes> files;
  for (size_t at = 1; at < size && files.size() < 3;) {
    size_t length = data[at];
    if (at + 1 < size)
      length |= static_cast<size_t>(data[at + 1]) << 8;
    at += 2;
    length = std::min(length, size > at ? size - at : 0);
    files.emplace_back(data + at, data + at + length);
    at += length;
  }
  vtq::recovery::Id16 setId{};
  bool haveSet = false;
  if (control & 2) {
    for (const Bytes& file : files) {
      if (FirstMainSet(file, setId)) {
        haveSet = true;
        break;
      }
    }
  }
  std::vector<std::string> names;
  const char* kNames[] = {"data.par2", "data.vol0+1.par2", "data.vol1+2.par2"};
  for (size_t i = 0; i < files.size(); ++i) {
    FixUp(files[i], control & 1, haveSet ? &setId : nullptr);
    names.push_back((folder / kNames[i]).string());
    Write(names.back(), files[i]);
  }
  if (control & 4) {
    Bytes first(1000);
    Bytes second(600);
    for (size_t i = 0; i < first.size(); ++i)
      first[i] = static_cast<uint8_t>(i * 7);
    for (size_t i = 0; i < second.size(); ++i)
      second[i] = static_cast<uint8_t>(i * 13);
    Write(folder / "data.001", first);
    Write(folder / "data.002", second);
  }
  const Bytes victim = {'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'};
  Write(outside / "victim", victim);
  if (control & 8) {
    std::error_code ignored;
    fs::create_directory_symlink(outside, folder / "link", ignored);
  }

  const vtq::recovery::LoadedSet loaded = vtq::recovery::LoadRecoveryFiles(names);
  if (loaded.set) {
    // Every name the reader let through stays in the folder.
    for (const vtq::recovery::DescribedFile& file : loaded.set->files) {
      if (!vtq::recovery::NameStaysInside(file.name))
        std::abort();
    }
    try {
      const std::string inFolder = folder.string() + "/";
      const vtq::recovery::SetCheck check = vtq::recovery::CheckFiles(*loaded.set, inFolder);
      const vtq::recovery::RepairOutcome outcome =
          vtq::recovery::RepairFiles(*loaded.set, loaded.slices, check, 1 << 16);
      (void)outcome;
    } catch (const vtq::VbError&) {
      // Files the set names that cannot be written (no such folder) are fine.
    }
  }
  // Whatever the set said, nothing outside its folder was written.
  if (Read(outside / "victim") != victim)
    std::abort();
  for (const auto& entry : fs::directory_iterator(outside)) {
    if (entry.path().filename() != "victim")
      std::abort();
  }
  return 0;
}
