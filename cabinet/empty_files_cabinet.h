#pragma once
// A cabinet whose files are all empty, laid out here byte by byte: the
// system's FCI of Wine fails to flush a folder without data, and such a
// cabinet needs no compressor anyway (one stored folder, no data blocks).

#include <cstdint>
#include <string>
#include <vector>

namespace vtq::cabinet {

struct EmptyEntry {
  std::string name;  // stored name, UTF-8, "\" between folders
  uint16_t dosDate = 0;
  uint16_t dosTime = 0;
  uint16_t attributes = 0;
};

std::string EmptyFilesCabinet(const std::vector<EmptyEntry>& entries, uint16_t setId);

}  // namespace vtq::cabinet
