#pragma once
// A file's DOS date, time and attributes as a cabinet stores them.

#include <cstdint>
#include <string>

namespace vtq::cabinet {

struct FileStamp {
  uint16_t dosDate = 0x21;  // 1980-01-01 when the file cannot be asked
  uint16_t dosTime = 0;
  uint16_t attributes = 0;
};

FileStamp ReadFileStamp(const std::string& path);

}  // namespace vtq::cabinet
