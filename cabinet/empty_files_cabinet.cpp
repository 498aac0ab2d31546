#include "cabinet/empty_files_cabinet.h"

#include "base/little_endian.h"
#include "cabinet/entry_name.h"

namespace vtq::cabinet {

std::string EmptyFilesCabinet(const std::vector<EmptyEntry>& entries, uint16_t setId) {
  constexpr uint32_t kFilesOffset = 36 + 8;
  uint32_t total = kFilesOffset;
  for (const EmptyEntry& entry : entries)
    total += 16 + static_cast<uint32_t>(entry.name.size()) + 1;

  std::string out;
  out.reserve(total);
  base::LeWriter put(out);
  put.Text("MSCF");
  put.U32(0);
  put.U32(total);  // cbCabinet
  put.U32(0);
  put.U32(kFilesOffset);  // coffFiles
  put.U32(0);
  put.U8(3);  // version 1.3
  put.U8(1);
  put.U16(1);  // one folder
  put.U16(static_cast<uint16_t>(entries.size()));
  put.U16(0);  // no reserve, no previous or next cabinet
  put.U16(setId);
  put.U16(0);  // first cabinet of its set

  put.U32(total);  // the folder's data would start after the file table
  put.U16(0);      // and has no blocks
  put.U16(0);      // stored

  for (const EmptyEntry& entry : entries) {
    put.U32(0);  // size
    put.U32(0);  // offset in the folder
    put.U16(0);  // folder 0
    put.U16(entry.dosDate);
    put.U16(entry.dosTime);
    put.U16(static_cast<uint16_t>(entry.attributes | NameAttributes(entry.name)));
    put.Text(entry.name).U8(0);
  }
  return out;
}

}  // namespace vtq::cabinet
