#include "recovery/recovery_files.h"

#include <algorithm>
#include <map>
#include <set>
#include <span>

#include "base/code_page.h"
#include "base/little_endian.h"
#include "base/utf8_text.h"
#include "engine/error.h"
#include "engine/folder_walk.h"
#include "engine/path.h"
#include "engine/platform/path_names.h"
#include "engine/platform/file_io.h"
#include "engine/platform/platform.h"
#include "recovery/gf16.h"
#include "recovery/lanes.h"

namespace vtq::recovery {
namespace {

// Packets other than recovery slices are read whole; none of a sound set
// comes near this (32,768 slice checksums take 640 KiB).
constexpr uint64_t kLargestReadPacket = 16 << 20;
// The piece of a file the scan holds at a time, and the piece hashes take.
constexpr size_t kWindow = 1 << 16;
constexpr uint64_t kLargestSlice = uint64_t{1} << 32;

struct SetPackets {
  std::optional<MainPacket> main;
  std::map<Id16, DescribedFile> descriptions;
  std::map<Id16, std::vector<SliceChecksum>> checksums;
  std::map<Id16, std::string> unicodeNames;
  std::map<uint32_t, FoundSlice> slices;
  std::string creator;
};

// A file's name in UTF-8: its Unicode packet's where there is one; else the
// description's, which par2cmdline writes in UTF-8 and older writers on
// Windows wrote in their ANSI code page.
std::string NameOf(const SetPackets& packets, const DescribedFile& file) {
  if (const auto unicode = packets.unicodeNames.find(file.id);
      unicode != packets.unicodeNames.end())
    return unicode->second;
  if (base::IsUtf8(file.name))
    return file.name;
  return base::AnsiCodePage().Decode(file.name);
}

// One recovery file read from start to end. The bytes the scan looks at
// come from a window that is refilled only when the scan leaves it, so that
// a stretch of magic numbers or of garbage is read once, however short the
// steps; the hashes of the packets tried are limited to twice the file.
class FileScan {
 public:
  FileScan(const std::string& name, std::map<Id16, SetPackets>& sets, std::vector<Id16>& mainOrder)
      : file_(name, File::Mode::kRead),
        end_(file_.Length()),
        hashBudget_(2 * end_),
        sets_(sets),
        mainOrder_(mainOrder) {}

  // False when some stretch was not a sound packet.
  bool Run() {
    bool sound = true;
    uint64_t offset = 0;
    while (offset + kPacketHeaderSize <= end_) {
      const auto header = ReadPacketHeader(At(offset, kPacketHeaderSize));
      if (header && header->length <= end_ - offset && Take(offset, *header)) {
        offset += header->length;
        continue;
      }
      sound = false;
      offset = NextMagic(offset + 1);
    }
    return sound && offset == end_;
  }

 private:
  // The bytes held from `offset` on: at least `least` of them (at most
  // kWindow) unless the file ends first. The window moves only when the
  // scan leaves it.
  std::span<const uint8_t> At(uint64_t offset, size_t least) {
    const uint64_t windowEnd = windowStart_ + window_.size();
    if (offset < windowStart_ || offset > windowEnd ||
        (windowEnd - offset < least && windowEnd < end_)) {
      window_.resize(kWindow);
      file_.Seek(offset);
      window_.resize(file_.Read(window_.data(), window_.size()));
      windowStart_ = offset;
    }
    return std::span<const uint8_t>(window_).subspan(static_cast<size_t>(offset - windowStart_));
  }

  // The offset of the next packet magic at or after `from`; the end when none.
  uint64_t NextMagic(uint64_t from) {
    const size_t magic = kPacketMagic.size();
    while (from + magic <= end_) {
      const std::span<const uint8_t> bytes = At(from, magic);
      if (bytes.size() < magic)
        break;
      const auto hit =
          std::search(bytes.begin(), bytes.end(), kPacketMagic.begin(), kPacketMagic.end());
      if (hit != bytes.end())
        return from + static_cast<uint64_t>(hit - bytes.begin());
      from += bytes.size() - (magic - 1);
    }
    return end_;
  }

  // Whether `length` bytes may still be hashed: packets that overlap what
  // was hashed before cost the budget, which only a hostile file exhausts.
  bool Afford(uint64_t length) {
    if (length > hashBudget_)
      return false;
    hashBudget_ -= length;
    return true;
  }

  // Whether the packet at `offset` has the hash its header gives.
  bool Sound(uint64_t offset, const PacketHeader& header) {
    if (!Afford(header.length))
      return false;
    Md5 md5;
    piece_.resize(kWindow);
    file_.Seek(offset + 32);
    for (uint64_t left = header.length - 32; left > 0;) {
      const auto part = static_cast<size_t>(std::min<uint64_t>(left, piece_.size()));
      file_.ReadExactly(piece_.data(), part);
      md5.Update(piece_.data(), part);
      left -= part;
    }
    return md5.Finish() == header.md5;
  }

  // Takes one packet in; false when it is not a sound packet of a kind known.
  bool Take(uint64_t offset, const PacketHeader& header) {
    const uint64_t bodyLength = header.length - kPacketHeaderSize;
    if (header.type == RecoverySliceType()) {
      if (bodyLength < kRecoverySliceLead + 4 || !Sound(offset, header))
        return false;
      const std::span<const uint8_t> lead = At(offset + kPacketHeaderSize, kRecoverySliceLead);
      FoundSlice slice{file_.Name(), offset + kPacketHeaderSize + kRecoverySliceLead,
                       bodyLength - kRecoverySliceLead, base::LeReader(lead).U32()};
      sets_[header.setId].slices.emplace(slice.exponent, slice);
      return true;
    }
    if (header.length > kLargestReadPacket || !Afford(header.length))
      return false;
    std::vector<uint8_t> packet(static_cast<size_t>(header.length));
    file_.Seek(offset);
    file_.ReadExactly(packet.data(), packet.size());
    if (Md5Of(packet.data() + 32, packet.size() - 32) != header.md5)
      return false;
    const std::span<const uint8_t> body(packet.data() + kPacketHeaderSize, bodyLength);
    SetPackets& set = sets_[header.setId];
    if (header.type == MainPacketType()) {
      auto main = ReadMainBody(body);
      if (!main || Md5Of(body.data(), body.size()) != header.setId)
        return false;
      if (!set.main)
        mainOrder_.push_back(header.setId);
      set.main = std::move(main);
    } else if (header.type == FileDescriptionType()) {
      auto description = ReadFileDescriptionBody(body);
      if (!description)
        return false;
      set.descriptions[description->id] = std::move(*description);
    } else if (header.type == SliceChecksumType()) {
      auto checksums = ReadSliceChecksumBody(body);
      if (!checksums)
        return false;
      set.checksums[checksums->first] = std::move(checksums->second);
    } else if (header.type == UnicodeFileNameType()) {
      auto name = ReadUnicodeFileNameBody(body);
      if (!name)
        return false;
      set.unicodeNames[name->first] = std::move(name->second);
    } else if (header.type == CreatorType()) {
      set.creator = std::string(body.begin(), std::find(body.begin(), body.end(), uint8_t{0}));
    }
    // Packets of kinds this reader does not use are sound all the same.
    return true;
  }

  File file_;
  uint64_t end_;
  uint64_t hashBudget_;
  std::vector<uint8_t> window_;
  uint64_t windowStart_ = 0;
  std::vector<uint8_t> piece_;
  std::map<Id16, SetPackets>& sets_;
  std::vector<Id16>& mainOrder_;
};

// What a later file adds to a set's packets: the last word on each packet
// but a recovery slice, whose first sound copy stands.
void TakeOver(SetPackets&& later, SetPackets& set) {
  if (later.main)
    set.main = std::move(later.main);
  for (auto& [id, description] : later.descriptions)
    set.descriptions[id] = std::move(description);
  for (auto& [id, checksums] : later.checksums)
    set.checksums[id] = std::move(checksums);
  for (auto& [id, name] : later.unicodeNames)
    set.unicodeNames[id] = std::move(name);
  for (auto& [exponent, slice] : later.slices)
    set.slices.emplace(exponent, std::move(slice));
  if (!later.creator.empty())
    set.creator = std::move(later.creator);
}

// Why the set the packets describe is not used; empty when it is.
std::string Refusal(const RecoverySet& set) {
  std::set<Id16> ids;
  std::set<std::string> names;
  for (const DescribedFile& file : set.files) {
    if (const std::string why = NameRefusal(file.name); !why.empty())
      return why;
    // Every listing of a file has it read and hashed once more.
    if (!ids.insert(file.id).second || !names.insert(file.name).second)
      return "it lists " + file.name + " twice";
  }
  return {};
}

}  // namespace

LoadedSet LoadRecoveryFiles(const std::vector<std::string>& names) {
  // Each file scanned on its own, on every processor (the recovery slices'
  // MD5s are most of the cost), then taken in the order of the names as if
  // scanned one after the other.
  struct Scanned {
    std::map<Id16, SetPackets> sets;
    std::vector<Id16> mainOrder;
    bool sound = false;
    bool readable = true;
  };
  std::vector<Scanned> scanned(names.size());
  Lanes().ForEach(names.size(), [&](size_t i, int) {
    try {
      scanned[i].sound = FileScan(names[i], scanned[i].sets, scanned[i].mainOrder).Run();
    } catch (const VbError&) {
      scanned[i].readable = false;
    }
  });
  std::map<Id16, SetPackets> sets;
  std::vector<Id16> mainOrder;
  LoadedSet loaded;
  for (size_t i = 0; i < names.size(); ++i) {
    if (!scanned[i].readable) {
      loaded.unreadable.push_back(names[i]);
      continue;
    }
    if (!scanned[i].sound)
      loaded.damaged.push_back(names[i]);
    for (const Id16& id : scanned[i].mainOrder) {
      if (!sets[id].main)
        mainOrder.push_back(id);
    }
    for (auto& [id, found] : scanned[i].sets)
      TakeOver(std::move(found), sets[id]);
  }
  if (mainOrder.empty())
    return loaded;
  const Id16 setId = mainOrder.front();
  SetPackets& packets = sets[setId];
  RecoverySet set;
  set.setId = setId;
  set.sliceSize = packets.main->sliceSize;
  // Beyond these no writer goes: a larger slice would only have a file of a
  // few bytes padded with gigabytes of zeros, and the code has constants for
  // 32,768 slices.
  if (set.sliceSize > kLargestSlice)
    return loaded;
  uint64_t slices = 0;
  set.creator = packets.creator;
  for (const Id16& id : packets.main->fileIds) {
    const auto description = packets.descriptions.find(id);
    const auto checksums = packets.checksums.find(id);
    if (description == packets.descriptions.end() || checksums == packets.checksums.end() ||
        checksums->second.size() != SliceCount(description->second.length, set.sliceSize)) {
      return loaded;
    }
    DescribedFile file = description->second;
    file.name = NameOf(packets, file);
    file.slices = checksums->second;
    slices += file.slices.size();
    if (slices > kMaxInputSlices)
      return loaded;
    set.files.push_back(std::move(file));
  }
  loaded.refusal = Refusal(set);
  if (!loaded.refusal.empty())
    return loaded;
  loaded.set = std::move(set);
  // A slice packet of another length is sound as a packet but no slice of
  // this set: counted, it would promise a repair that then fails.
  for (const auto& [exponent, slice] : packets.slices) {
    if (slice.dataLength == loaded.set->sliceSize)
      loaded.slices.push_back(slice);
  }
  return loaded;
}

std::string NameRefusal(const std::string& name) {
  const std::string shown = "(" + name + ")";
  if (name.empty() || name.front() == '/' || name.front() == '\\' ||
      name.find(':') != std::string::npos) {
    return "it names a file outside its folder " + shown;
  }
  size_t start = 0;
  for (;;) {
    const size_t end = name.find_first_of("/\\", start);
    const std::string part = name.substr(start, end - start);
    if (part.empty() || part == "." || part == "..")
      return "it names a file outside its folder " + shown;
    // Such a name opens the device, and so would the repair's working file beside it.
    if (OpensDevice(part))
      return "it names a device " + shown;
    if (end == std::string::npos)
      return {};
    start = end + 1;
  }
}
std::string NameInFolder(const std::string& folder, const std::string& name) {
  std::string joined = folder + name;
  // The set's own separator is "/"; the system's may be another.
  const std::string separator = WithTrailingSeparator("");
  for (size_t i = folder.size(); i < joined.size(); ++i) {
    if (joined[i] == '/' || joined[i] == '\\')
      joined[i] = separator.front();
  }
  return joined;
}

std::vector<std::string> FindRecoveryFiles(const std::string& indexFile) {
  const std::string base = BaseName(indexFile);
  const std::string folder = indexFile.substr(0, indexFile.size() - base.size());
  const auto lower = [](std::string text) {
    for (char& c : text)
      c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
  };
  const std::string lowerBase = lower(base);
  const bool named = lowerBase.size() >= 4 && lowerBase.ends_with("par2");
  const std::string stem = named ? base.substr(0, base.size() - 4) : base;
  std::vector<std::string> found;
  std::vector<std::string> volumes;
  SystemFolders().Enumerate(folder.empty() ? "*" : folder + "*", [&](const FindEntry& entry) {
    if (entry.attributes & FindEntry::kDirectory)
      return;
    const std::string name = TrimAtNull(std::string_view(entry.name.data(), entry.name.size()));
    const std::string lowerName = lower(name);
    if (lowerName.size() < stem.size() || name.compare(0, stem.size(), stem) != 0)
      return;
    const std::string rest = lowerName.substr(stem.size());
    if (rest == "par2")
      found.push_back(folder + name);
    else if (rest.starts_with("vol") && rest.ends_with(".par2"))
      volumes.push_back(folder + name);
  });
  std::sort(volumes.begin(), volumes.end());
  if (found.empty() && FileExists(indexFile))
    found.push_back(indexFile);
  found.insert(found.end(), volumes.begin(), volumes.end());
  return found;
}

}  // namespace vtq::recovery
