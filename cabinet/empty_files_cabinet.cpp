#include "cabinet/empty_files_cabinet.h"

#include "cabinet/entry_name.h"

namespace vtq::cabinet {
namespace {

void Put16(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

std::string EmptyFilesCabinet(const std::vector<EmptyEntry>& entries, uint16_t setId) {
  constexpr uint32_t kFilesOffset = 36 + 8;
  uint32_t total = kFilesOffset;
  for (const EmptyEntry& entry : entries)
    total += 16 + static_cast<uint32_t>(entry.name.size()) + 1;

  std::string out;
  out.reserve(total);
  out += "MSCF";
  Put32(out, 0);
  Put32(out, total);  // cbCabinet
  Put32(out, 0);
  Put32(out, kFilesOffset);  // coffFiles
  Put32(out, 0);
  out.push_back(3);  // version 1.3
  out.push_back(1);
  Put16(out, 1);  // one folder
  Put16(out, static_cast<uint32_t>(entries.size()));
  Put16(out, 0);  // no reserve, no previous or next cabinet
  Put16(out, setId);
  Put16(out, 0);  // first cabinet of its set

  Put32(out, total);  // the folder's data would start after the file table
  Put16(out, 0);      // and has no blocks
  Put16(out, 0);      // stored

  for (const EmptyEntry& entry : entries) {
    Put32(out, 0);  // size
    Put32(out, 0);  // offset in the folder
    Put16(out, 0);  // folder 0
    Put16(out, entry.dosDate);
    Put16(out, entry.dosTime);
    Put16(out, entry.attributes | NameAttributes(entry.name));
    out += entry.name;
    out.push_back('\0');
  }
  return out;
}

}  // namespace vtq::cabinet
