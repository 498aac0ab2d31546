#include "recovery/recovery_files.h"

#include <algorithm>
#include <map>

#include "base/code_page.h"
#include "base/utf8_text.h"
#include "engine/error.h"
#include "engine/folder_walk.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/platform/platform.h"
#include "recovery/gf16.h"

namespace vtq::recovery {
namespace {

// Packets other than recovery slices are read whole; none of a sound set
// comes near this (32,768 slice checksums take 640 KiB).
constexpr uint64_t kLargestReadPacket = 16 << 20;
constexpr size_t kScanBuffer = 1 << 20;
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

// The offset of the next packet magic at or after `from`; `end` when none.
uint64_t FindMagic(File& file, uint64_t from, uint64_t end) {
  std::vector<uint8_t> buffer(kScanBuffer);
  const size_t magic = kPacketMagic.size();
  while (from + magic <= end) {
    file.Seek(from);
    const size_t got = file.Read(buffer.data(), buffer.size());
    if (got < magic)
      break;
    const auto hit = std::search(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got),
                                 kPacketMagic.begin(), kPacketMagic.end());
    if (hit != buffer.begin() + static_cast<std::ptrdiff_t>(got))
      return from + static_cast<uint64_t>(hit - buffer.begin());
    from += got - (magic - 1);
  }
  return end;
}

// Whether the packet at `offset` has the hash its header gives.
bool PacketSound(File& file, uint64_t offset, const PacketHeader& header) {
  Md5 md5;
  std::vector<uint8_t> buffer(std::min<uint64_t>(header.length - 32, kScanBuffer));
  file.Seek(offset + 32);
  for (uint64_t left = header.length - 32; left > 0;) {
    const auto part = static_cast<size_t>(std::min<uint64_t>(left, buffer.size()));
    file.ReadExactly(buffer.data(), part);
    md5.Update(buffer.data(), part);
    left -= part;
  }
  return md5.Finish() == header.md5;
}

// Takes one packet in; false when it is not a sound packet of a kind known.
bool TakePacket(File& file, uint64_t offset, const PacketHeader& header,
                std::map<Id16, SetPackets>& sets, std::vector<Id16>& mainOrder) {
  const uint64_t bodyLength = header.length - kPacketHeaderSize;
  if (header.type == RecoverySliceType()) {
    if (bodyLength < kRecoverySliceLead + 4 || !PacketSound(file, offset, header))
      return false;
    uint8_t exponent[4];
    file.Seek(offset + kPacketHeaderSize);
    file.ReadExactly(exponent, sizeof exponent);
    FoundSlice slice{file.Name(), offset + kPacketHeaderSize + kRecoverySliceLead,
                     static_cast<uint32_t>(exponent[0] | exponent[1] << 8 | exponent[2] << 16 |
                                           static_cast<uint32_t>(exponent[3]) << 24)};
    sets[header.setId].slices.emplace(slice.exponent, slice);
    return true;
  }
  if (header.length > kLargestReadPacket)
    return false;
  std::vector<uint8_t> packet(static_cast<size_t>(header.length));
  file.Seek(offset);
  file.ReadExactly(packet.data(), packet.size());
  if (Md5Of(packet.data() + 32, packet.size() - 32) != header.md5)
    return false;
  const std::span<const uint8_t> body(packet.data() + kPacketHeaderSize, bodyLength);
  SetPackets& set = sets[header.setId];
  if (header.type == MainPacketType()) {
    auto main = ReadMainBody(body);
    if (!main || Md5Of(body.data(), body.size()) != header.setId)
      return false;
    if (!set.main)
      mainOrder.push_back(header.setId);
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

// Reads every packet of one file; false when some stretch was not one.
bool ScanFile(const std::string& name, std::map<Id16, SetPackets>& sets,
              std::vector<Id16>& mainOrder) {
  File file(name, File::Mode::kRead);
  const uint64_t end = file.Length();
  bool sound = true;
  uint64_t offset = 0;
  while (offset + kPacketHeaderSize <= end) {
    uint8_t bytes[kPacketHeaderSize];
    file.Seek(offset);
    file.ReadExactly(bytes, sizeof bytes);
    const auto header = ReadPacketHeader(bytes);
    if (header && header->length <= end - offset &&
        TakePacket(file, offset, *header, sets, mainOrder)) {
      offset += header->length;
      continue;
    }
    sound = false;
    offset = FindMagic(file, offset + 1, end);
  }
  return sound && offset == end;
}

}  // namespace

LoadedSet LoadRecoveryFiles(const std::vector<std::string>& names) {
  std::map<Id16, SetPackets> sets;
  std::vector<Id16> mainOrder;
  LoadedSet loaded;
  for (const std::string& name : names) {
    try {
      if (!ScanFile(name, sets, mainOrder))
        loaded.damaged.push_back(name);
    } catch (const VbError&) {
      loaded.unreadable.push_back(name);
    }
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
    if (!NameStaysInside(file.name)) {
      loaded.nameOutside = file.name;
      return loaded;
    }
    file.slices = checksums->second;
    slices += file.slices.size();
    if (slices > kMaxInputSlices)
      return loaded;
    set.files.push_back(std::move(file));
  }
  loaded.set = std::move(set);
  for (const auto& [exponent, slice] : packets.slices)
    loaded.slices.push_back(slice);
  return loaded;
}

bool NameStaysInside(const std::string& name) {
  if (name.empty() || name.front() == '/' || name.front() == '\\' ||
      name.find(':') != std::string::npos) {
    return false;
  }
  size_t start = 0;
  for (;;) {
    const size_t end = name.find_first_of("/\\", start);
    const std::string part = name.substr(start, end - start);
    if (part.empty() || part == "." || part == "..")
      return false;
    if (end == std::string::npos)
      return true;
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

std::vector<std::string> RemoveSeriesRecoveryFiles(const std::string& prefix) {
  const std::string stem = BaseName(prefix);
  const auto isFragment = [&](const std::string& name) {
    return name.size() > stem.size() && name.compare(0, stem.size(), stem) == 0 &&
           name.find_first_not_of("0123456789", stem.size()) == std::string::npos;
  };
  std::vector<std::string> removed;
  for (const std::string& name : FindRecoveryFiles(prefix + "par2")) {
    const LoadedSet loaded = LoadRecoveryFiles({name});
    if (!loaded.set || loaded.set->files.empty() ||
        !std::all_of(loaded.set->files.begin(), loaded.set->files.end(),
                     [&](const DescribedFile& file) { return isFragment(file.name); })) {
      continue;
    }
    try {
      RemoveFile(name);
      removed.push_back(name);
    } catch (const VbError&) {
      // Left for the person to take away; the set it holds names the old
      // series' fragments, which a repair checks before trusting it.
    }
  }
  return removed;
}

}  // namespace vtq::recovery
