#include "cabinet/block_check.h"

#include <algorithm>
#include <vector>

#include "base/little_endian.h"

namespace vtq::cabinet {
namespace {

constexpr uint16_t kReservePresent = 0x0004;
constexpr uint16_t kPreviousCabinet = 0x0001;
constexpr uint16_t kNextCabinet = 0x0002;

bool ReadExactly(std::istream& in, unsigned char* target, size_t size) {
  in.read(reinterpret_cast<char*>(target), static_cast<std::streamsize>(size));
  return in.gcount() == static_cast<std::streamsize>(size);
}

bool SkipString(std::istream& in) {
  for (char c; in.get(c);)
    if (c == '\0')
      return true;
  return false;
}

struct Folder {
  uint32_t firstBlock = 0;
  uint16_t blocks = 0;
};

}  // namespace

uint32_t CabChecksum(const unsigned char* bytes, size_t size, uint32_t seed) {
  uint32_t sum = seed;
  base::LeReader words({bytes, size});
  while (words.Remaining() >= 4)
    sum ^= words.U32();
  size_t i = words.Position();
  uint32_t tail = 0;
  switch (size - i) {
    case 3:
      tail |= static_cast<uint32_t>(bytes[i++]) << 16;
      [[fallthrough]];
    case 2:
      tail |= static_cast<uint32_t>(bytes[i++]) << 8;
      [[fallthrough]];
    case 1:
      tail |= bytes[i];
      break;
    default:
      break;
  }
  return sum ^ tail;
}

bool BlocksMatchChecksums(std::istream& in) {
  unsigned char header[36];
  if (!ReadExactly(in, header, sizeof header))
    return false;
  const uint16_t folderCount = base::LeReader(header, 26).U16();
  const uint16_t flags = base::LeReader(header, 30).U16();
  uint16_t headerReserve = 0;
  unsigned char folderReserve = 0;
  unsigned char blockReserve = 0;
  if (flags & kReservePresent) {
    unsigned char sizes[4];
    if (!ReadExactly(in, sizes, sizeof sizes))
      return false;
    headerReserve = base::LeReader(sizes).U16();
    folderReserve = sizes[2];
    blockReserve = sizes[3];
    in.ignore(headerReserve);
  }
  if (flags & kPreviousCabinet && !(SkipString(in) && SkipString(in)))
    return false;
  if (flags & kNextCabinet && !(SkipString(in) && SkipString(in)))
    return false;

  std::vector<Folder> folders(folderCount);
  for (Folder& folder : folders) {
    unsigned char entry[8];
    if (!ReadExactly(in, entry, sizeof entry))
      return false;
    base::LeReader fields(entry);
    folder.firstBlock = fields.U32();
    folder.blocks = fields.U16();
    in.ignore(folderReserve);
  }

  // Each folder's blocks follow one another, and no two folders share a
  // block: walked in the order of their first blocks, a folder that starts
  // inside the one before is damage (or a cabinet made to have the same
  // blocks read once per folder), and every block is read once.
  std::stable_sort(folders.begin(), folders.end(),
                   [](const Folder& a, const Folder& b) { return a.firstBlock < b.firstBlock; });
  std::vector<unsigned char> block(8 + 255 + 65535);
  uint64_t walked = 0;  // the end of the blocks read so far
  for (const Folder& folder : folders) {
    if (folder.blocks == 0)
      continue;
    if (folder.firstBlock < walked)
      return false;
    in.clear();
    in.seekg(folder.firstBlock);
    uint64_t at = folder.firstBlock;
    for (uint16_t b = 0; b < folder.blocks; ++b) {
      unsigned char* head = block.data();
      if (!ReadExactly(in, head, 8u + blockReserve))
        return true;  // cut short: FDI reports it
      base::LeReader fields({head, 8});
      const uint32_t stored = fields.U32();
      const uint16_t size = fields.U16();
      unsigned char* data = head + 8 + blockReserve;
      if (!ReadExactly(in, data, size))
        return true;
      at += 8u + blockReserve + size;
      if (stored == 0)
        continue;
      const uint32_t sum = CabChecksum(head + 4, 4u + blockReserve, CabChecksum(data, size, 0));
      if (sum != stored)
        return false;
    }
    walked = at;
  }
  return true;
}

}  // namespace vtq::cabinet
